// The journal side of CUninstallLog: recording, questions, rollback and the merge. The file
// side (Write, Read) is in uninstall_log_file.cpp.
#include "system/uninstall_log.hpp"

#include <algorithm>

#include "support/product_identity.hpp"

namespace zu {

namespace fs = journal_platform;

namespace {

// Paths are Windows paths held in buffers of 260 characters.
constexpr std::size_t kMaxPathChars = 259;
// GetTempFileNameW appends "zuXXXX.tmp" and needs the whole name to fit in 260 characters.
constexpr std::size_t kMaxTempFolderChars = 246;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The path's elements; a leading separator is kept as an empty first element so that a rooted
// path never equals a relative one. Repeated and trailing separators add no elements.
std::vector<std::wstring> Elements(const std::wstring& path) {
    std::vector<std::wstring> elements;
    std::size_t start = 0;
    if (!path.empty() && IsSeparator(path[0])) elements.emplace_back();
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start) elements.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return elements;
}

// "." dropped, ".." takes the element before it away.
std::vector<std::wstring> NormalisedElements(const std::wstring& path) {
    std::vector<std::wstring> out;
    for (std::wstring& element : Elements(path)) {
        if (element.empty() || element == L".") continue;
        if (element == L"..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(std::move(element));
    }
    return out;
}

std::wstring Truncated(const std::wstring& path) { return path.substr(0, std::min(path.size(), kMaxPathChars)); }

std::wstring WithoutLastElement(const std::wstring& path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    while (i > 0 && IsSeparator(path[i - 1])) --i;
    return path.substr(0, i);
}

bool IsFileLike(LogEntryKind kind) {
    return kind == LogEntryKind::File || kind == LogEntryKind::MenuShortcut ||
           kind == LogEntryKind::UninstallShortcut || kind == LogEntryKind::DesktopShortcut;
}

// The key that holds the product's uninstall key, and that key's own name.
std::wstring UninstallParentKey() {
    std::wstring key = ProductIdentity::uninstallKey;
    return key.substr(0, key.rfind(L'\\'));
}

void DeleteTemporaryFile(const std::wstring& path) {
    fs::set_attributes(path, fs::kAttributeNormal);
    fs::delete_file(path);
}

// Deletes what the run placed at entry.text and puts the saved original back in its place.
void UndoFile(const LogEntry& entry) {
    fs::set_attributes(entry.text, fs::kAttributeNormal);
    fs::delete_file(entry.text);
    if (entry.backupPath.empty()) return;
    std::optional<std::uint32_t> attributes = fs::get_attributes(entry.backupPath);
    fs::set_attributes(entry.backupPath, fs::kAttributeNormal);
    if (fs::move_file(entry.backupPath, entry.text) && attributes) fs::set_attributes(entry.text, *attributes);
}

void UndoUninstallKey(const LogEntry& entry) {
    const std::wstring parent = UninstallParentKey();
    if (entry.backupPath.empty()) {
        fs::delete_registry_key_tree(parent.c_str(), ProductIdentity::displayName);
        return;
    }
    fs::restore_registry_key(parent.c_str(), ProductIdentity::displayName, entry.backupPath);
    // The saved key is of no further use, whether the restore worked or not.
    DeleteTemporaryFile(entry.backupPath);
}

}  // namespace

const wchar_t* LogEntryKindName(LogEntryKind kind) {
    switch (kind) {
        case LogEntryKind::Folder: return L"Folder";
        case LogEntryKind::File: return L"File";
        case LogEntryKind::MenuShortcut: return L"MenuShortcut";
        case LogEntryKind::UninstallShortcut: return L"UninstallShortcut";
        case LogEntryKind::DesktopShortcut: return L"DesktopShortcut";
        case LogEntryKind::UninstallKey: return L"UninstallKey";
        case LogEntryKind::Registration: return L"Registration";
        case LogEntryKind::DirectX: return L"DirectX";
    }
    return L"?";
}

void CUninstallLog::Begin(LogEntryKind kind) {
    pending_ = true;
    LogEntry entry;
    entry.kind = kind;
    currentEntries_.push_back(std::move(entry));
}

void CUninstallLog::EnsureFolders(const std::wstring& path) {
    const std::wstring folder = Truncated(path);
    // The first element is the root ("C:" or, natively, the empty name before "/"); it is
    // never created. Each longer prefix ending at an element boundary is.
    std::size_t i = 0;
    while (i < folder.size() && !IsSeparator(folder[i])) ++i;
    std::size_t elementStart = i + 1;
    for (i = elementStart; i <= folder.size(); ++i) {
        if (i < folder.size() && !IsSeparator(folder[i])) continue;
        const bool emptyElement = i == elementStart;
        elementStart = i + 1;
        if (emptyElement) continue;
        std::wstring prefix = folder.substr(0, i);
        if (fs::is_folder(prefix)) continue;
        if (!fs::create_folder(prefix)) break;
        fs::notify_folder_created(prefix);
        LogEntry entry;
        entry.kind = LogEntryKind::Folder;
        entry.text = std::move(prefix);
        entry.done = true;
        currentEntries_.push_back(std::move(entry));
    }
}

void CUninstallLog::BeginFile(const std::wstring& path, std::int32_t payloadKind, bool backupByCopy) {
    EnsureFolders(WithoutLastElement(Truncated(path)));
    Begin(LogEntryKind::File);
    LogEntry& entry = currentEntries_.back();
    entry.text = path;
    entry.detail = payloadKind;
    if (fs::exists(path)) entry.backupPath = MakeBackup(path, backupByCopy, backupFolder_);
}

void CUninstallLog::BeginShortcut(int which, const std::wstring& folder) {
    const LogEntryKind kind = which == 0   ? LogEntryKind::MenuShortcut
                              : which == 1 ? LogEntryKind::UninstallShortcut
                                           : LogEntryKind::DesktopShortcut;
    EnsureFolders(folder);
    Begin(kind);
    auto earlier = std::find_if(earlierEntries_.begin(), earlierEntries_.end(),
                                [kind](const LogEntry& e) { return e.kind == kind; });
    if (earlier != earlierEntries_.end() && fs::exists(earlier->text))
        currentEntries_.back().backupPath = MakeBackup(earlier->text, false, backupFolder_);
}

void CUninstallLog::BeginUninstallKey(RegistryKey existingKey) {
    Begin(LogEntryKind::UninstallKey);
    if (!existingKey) return;
    std::wstring backup = MakeBackup(std::nullopt, false, backupFolder_);
    if (backup.empty()) return;
    if (!fs::save_registry_key(existingKey, backup)) {
        // Without a saved copy a rollback deletes the key rather than restoring half of it.
        DeleteTemporaryFile(backup);
        return;
    }
    currentEntries_.back().backupPath = std::move(backup);
}

void CUninstallLog::BeginRegistration() { Begin(LogEntryKind::Registration); }

void CUninstallLog::BeginDirectX() { Begin(LogEntryKind::DirectX); }

void CUninstallLog::Complete(bool done, const std::optional<std::wstring>& text) {
    if (!pending_) return;
    LogEntry& entry = currentEntries_.back();
    entry.done = done;
    if (text) entry.text = *text;
    pending_ = false;
}

bool CUninstallLog::WasInstalledBefore(const std::wstring& path) const {
    return std::any_of(earlierEntries_.begin(), earlierEntries_.end(), [&](const LogEntry& e) {
        return e.kind == LogEntryKind::File && e.done && e.text == path;
    });
}

bool CUninstallLog::EarlierSucceeded(LogEntryKind kind) const {
    return std::any_of(earlierEntries_.begin(), earlierEntries_.end(),
                       [kind](const LogEntry& e) { return e.kind == kind && e.done; });
}

void CUninstallLog::Rollback() {
    while (!currentEntries_.empty()) {
        const LogEntry& entry = currentEntries_.back();
        if (entry.kind == LogEntryKind::Folder) {
            fs::remove_folder(entry.text);
        } else if (entry.kind == LogEntryKind::UninstallKey) {
            UndoUninstallKey(entry);
        } else if (IsFileLike(entry.kind)) {
            UndoFile(entry);
        }
        currentEntries_.pop_back();
    }
    pending_ = false;
}

std::wstring MakeBackup(const std::optional<std::wstring>& path, bool byCopy, const std::wstring& inFolder) {
    std::optional<std::wstring> folder = inFolder.empty() ? fs::temp_folder() : std::optional<std::wstring>(inFolder);
    if (!folder || folder->size() > kMaxTempFolderChars) return {};
    std::optional<std::wstring> name = fs::make_temp_file(*folder, L"zu");
    if (!name) return {};
    // Only the name is wanted: the copy or move below must find no file there.
    fs::delete_file(*name);
    if (!path) return *name;

    const std::optional<std::uint32_t> attributes = fs::get_attributes(*path);
    fs::set_attributes(*path, fs::kAttributeNormal);
    if (byCopy) {
        if (fs::copy_file(*path, *name)) {
            if (attributes) {
                fs::set_attributes(*path, *attributes);
                fs::set_attributes(*name, *attributes);
            }
            return *name;
        }
    } else if (fs::move_file(*path, *name)) {
        if (attributes) fs::set_attributes(*name, *attributes);
        return *name;
    }
    if (attributes) fs::set_attributes(*path, *attributes);
    return {};
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    if (Elements(a) == Elements(b)) return true;
    switch (fs::compare_identity(a, b)) {
        case fs::Identity::same: return true;
        case fs::Identity::different: return false;
        case fs::Identity::unknown: break;
    }
    std::optional<std::wstring> absoluteA = fs::absolute_path(a);
    std::optional<std::wstring> absoluteB = fs::absolute_path(b);
    if (!absoluteA || !absoluteB) return false;
    const std::vector<std::wstring> ea = NormalisedElements(*absoluteA);
    const std::vector<std::wstring> eb = NormalisedElements(*absoluteB);
    if (ea.size() != eb.size()) return false;
    for (std::size_t i = 0; i < ea.size(); ++i)
        if (!fs::equal_ignoring_case(ea[i], eb[i])) return false;
    return true;
}

std::vector<LogEntry> MergeEntries(std::vector<LogEntry> earlier, std::vector<LogEntry> current) {
    // Earlier entries are taken newest first; each is checked against this run's entries and
    // against the earlier ones already kept, so of two earlier entries for the same thing only
    // the later survives.
    std::vector<LogEntry> kept;  // newest first
    auto supersedes = [](const LogEntry& newer, const LogEntry& older) {
        if (newer.kind != older.kind) return false;
        if (older.kind != LogEntryKind::Folder && older.kind != LogEntryKind::File) return true;
        return SamePath(newer.text, older.text);
    };
    for (auto it = earlier.rbegin(); it != earlier.rend(); ++it) {
        auto supersedesThis = [&](const LogEntry& e) { return supersedes(e, *it); };
        if (std::any_of(current.begin(), current.end(), supersedesThis) ||
            std::any_of(kept.begin(), kept.end(), supersedesThis))
            continue;
        kept.push_back(std::move(*it));
    }
    std::vector<LogEntry> merged(std::make_move_iterator(kept.rbegin()), std::make_move_iterator(kept.rend()));
    merged.insert(merged.end(), std::make_move_iterator(current.begin()), std::make_move_iterator(current.end()));
    return merged;
}

}  // namespace zu
