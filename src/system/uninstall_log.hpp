// The uninstall log and installation journal.
//
// One object serves a whole installer process. At start-up Read loads the log of an earlier
// installation (its folders, its product text, what it installed). During the install sequence
// every change is announced with a Begin operation before it is made, so that whatever it
// replaces is saved aside first, and settled with Complete afterwards. The sequence ends with
// Rollback (undo this run, newest first, putting the saved originals back) or with Write
// (merge the earlier record into this run's and write "Uninstall.ulog" for the uninstaller).
//
// The file written by Write is the contract with the uninstaller; uninstall_log_file.hpp holds
// its format. Backups live in the backup folder (the user's temporary folder unless the
// installation gives its own) from their Begin operation until
// Write deletes them or Rollback moves them back.
//
// Single-threaded. Failures of the system calls inside are not reported unless stated: a
// backup that cannot be made leaves backupPath empty and the change cannot be undone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/journal_platform.hpp"

namespace zu {

enum class LogEntryKind : std::uint32_t {
    Folder = 0,             // a folder this run created
    File = 1,               // a placed payload file
    MenuShortcut = 2,       // the product's Start-menu shortcut
    UninstallShortcut = 3,  // the uninstaller's Start-menu shortcut
    DesktopShortcut = 4,    // the product's desktop shortcut
    UninstallKey = 5,       // the product's uninstall registry key
    Registration = 6,       // the installed product's registration run
    DirectX = 7,            // the DirectX runtime setup
};
constexpr std::uint32_t kLogEntryKindCount = 8;

// "Folder", "File", "MenuShortcut" and so on: the kind's name, for people reading a log.
const wchar_t* LogEntryKindName(LogEntryKind kind);

struct LogEntry {
    LogEntryKind kind = LogEntryKind::Folder;
    std::wstring text;        // what the entry names; empty in memory for the key and registration
    std::wstring backupPath;  // temporary file holding what the change replaced; never written
    bool done = false;        // the change was made
    std::int32_t detail = -1; // payload kind (0 to 4) of a File entry, -1 otherwise

    bool operator==(const LogEntry& other) const {
        return kind == other.kind && text == other.text && backupPath == other.backupPath &&
               done == other.done && detail == other.detail;
    }
};

class CUninstallLog {
public:
    // Where the backups of the Begin operations go from now on. An installation gives its own
    // folder, which only administrators can change, so that what is restored on a rollback is
    // what was moved aside; empty (the default) means the user's temporary folder.
    void SetBackupFolder(std::wstring folder) { backupFolder_ = std::move(folder); }

    // --- Recording. Each Begin appends one entry (done false) and makes it pending.

    // Before a payload file is written: creates the missing folders of path (recording them),
    // and moves (or, for a shared file, copies) an existing file at path aside.
    void BeginFile(const std::wstring& path, std::int32_t payloadKind, bool backupByCopy);
    // Before a shortcut is created in folder; which 0, 1, 2: menu, uninstaller, desktop (any
    // other value: desktop). The earlier installation's shortcut of that kind is moved aside.
    void BeginShortcut(int which, const std::wstring& folder);
    // After the product's uninstall key was opened or created; existingKey is the open key when
    // it existed before (its content is saved then), nullptr for a new key.
    void BeginUninstallKey(RegistryKey existingKey);
    void BeginRegistration();
    void BeginDirectX();
    // Settles the pending entry; text, when given, replaces its text. Without a pending entry
    // nothing happens, so a second completion of the same step is ignored.
    void Complete(bool done, const std::optional<std::wstring>& text = std::nullopt);

    // --- Questions about the earlier installation.

    // A done File entry whose text is exactly path (case counts).
    bool WasInstalledBefore(const std::wstring& path) const;
    bool EarlierSucceeded(LogEntryKind kind) const;

    // --- The end of a run; neither is followed by further recording.

    // Undoes this run's entries, newest first, and forgets them. Earlier entries stay.
    void Rollback();
    // Merges the earlier entries into this run's and writes the log at logPath. The file is
    // written beside logPath and moved over it only when complete, so a failure leaves an
    // earlier log as it was. Backups are deleted in every case. False when the file could not
    // be written in full.
    bool Write(const std::wstring& logPath, const std::wstring& installPath, const std::wstring& shortcutPath);
    // Loads an earlier log (nullopt: only forget the earlier folders). Never fails: an
    // unreadable or malformed log yields what could be read before the fault.
    void Read(const std::optional<std::wstring>& logPath);

    // --- State, for the start-up checks, the tool and tests.
    const std::wstring& installPath() const { return installPath_; }
    const std::wstring& shortcutPath() const { return shortcutPath_; }
    const std::vector<LogEntry>& earlierEntries() const { return earlierEntries_; }
    const std::vector<LogEntry>& currentEntries() const { return currentEntries_; }
    bool pending() const { return pending_; }
    const std::wstring& earlierProduct() const { return earlierProduct_; }

private:
    void Begin(LogEntryKind kind);
    void EnsureFolders(const std::wstring& path);

    std::wstring installPath_;
    std::wstring shortcutPath_;
    std::vector<LogEntry> earlierEntries_;
    std::vector<LogEntry> currentEntries_;
    bool pending_ = false;  // when true, the pending entry is currentEntries_.back()
    std::wstring earlierProduct_;
    std::wstring backupFolder_;
};

// --- Rules, callable on their own.

// A temporary copy (byCopy) or the moved original of path in the temporary folder, with the
// original's attributes; empty when nothing could be saved (path is then left as it was).
// Without a path only a fresh unused name is made.
// The backup goes into folder, or into the user's temporary folder when folder is empty.
std::wstring MakeBackup(const std::optional<std::wstring>& path, bool byCopy, const std::wstring& folder = {});

// Whether two paths name the same file or folder: the same elements; else the same file on
// disk; else, when neither can be opened, the same absolute path without regard to case.
bool SamePath(const std::wstring& a, const std::wstring& b);

// The merge of Write: surviving earlier entries, in their order, then this run's.
std::vector<LogEntry> MergeEntries(std::vector<LogEntry> earlier, std::vector<LogEntry> current);

}  // namespace zu
