#include "system/uninstall_plan.hpp"

#include <algorithm>
#include <cwctype>

namespace zu {
namespace {

std::vector<std::wstring> elements(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'\\' || c == L'/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool is_absolute_drive_path(const std::wstring& path) {
    return path.size() >= 3 && std::iswalpha(static_cast<wint_t>(path[0])) && path[1] == L':' &&
           (path[2] == L'\\' || path[2] == L'/');
}

bool inside_any(const std::wstring& path, const std::vector<std::wstring>& roots) {
    return std::any_of(roots.begin(), roots.end(), [&](const std::wstring& root) { return IsStrictlyInside(path, root); });
}

bool same_folder(const std::wstring& a, const std::wstring& b) {
    return is_absolute_drive_path(a) && is_absolute_drive_path(b) && elements(a) == elements(b) &&
           a.find(L"..") == std::wstring::npos;
}

bool ends_with_lnk(const std::wstring& path) {
    if (path.size() < 4) return false;
    std::wstring tail = path.substr(path.size() - 4);
    for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return tail == L".lnk";
}

}  // namespace

bool IsStrictlyInside(const std::wstring& path, const std::wstring& root) {
    if (!is_absolute_drive_path(path) || !is_absolute_drive_path(root)) return false;
    const std::vector<std::wstring> p = elements(path), r = elements(root);
    for (const std::wstring& part : p) {
        if (part == L"." || part == L"..") return false;
    }
    if (p.size() <= r.size()) return false;
    return std::equal(r.begin(), r.end(), p.begin());
}

std::vector<UninstallAction> PlanUninstall(const std::vector<LogEntry>& entries, const UninstallRoots& roots) {
    std::vector<UninstallAction> plan;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!entry->done) continue;
        switch (entry->kind) {
        case LogEntryKind::Folder:
            if (inside_any(entry->text, roots.files) || IsStrictlyInside(entry->text, roots.installFolder) ||
                same_folder(entry->text, roots.installFolder)) {
                plan.push_back({UninstallAction::RemoveFolderIfEmpty, entry->text});
            }
            break;
        case LogEntryKind::File:
            if (inside_any(entry->text, roots.files) || IsStrictlyInside(entry->text, roots.installFolder)) {
                plan.push_back({UninstallAction::DeleteFile, entry->text});
            }
            break;
        case LogEntryKind::MenuShortcut:
        case LogEntryKind::UninstallShortcut:
        case LogEntryKind::DesktopShortcut:
            if (ends_with_lnk(entry->text) && inside_any(entry->text, roots.shortcuts)) {
                plan.push_back({UninstallAction::DeleteShortcut, entry->text});
            }
            break;
        case LogEntryKind::UninstallKey:
            plan.push_back({UninstallAction::DeleteUninstallKey, L""});
            break;
        case LogEntryKind::Registration:
            plan.push_back({UninstallAction::RemoveRegistration, L""});
            break;
        default:  // DirectX: the runtime is shared with other programs and stays
            break;
        }
    }
    return plan;
}

}  // namespace zu
