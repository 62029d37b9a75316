// Natively a link is a UTF-8 text file of two lines: the target and the working folder. It
// has the link's name and place, which is all the journal and the tests look at.
#include "system/shortcut_link.hpp"

#include <fstream>

#include "payload/windows_path.hpp"
#include "support/wide_path.hpp"

namespace zu {
namespace {

constexpr std::size_t kMaxPath = 260;

// The target without its last element; nullopt when it has no file name to remove (like the
// shell, a bare file name leaves an empty working folder).
std::optional<std::wstring> FolderOf(const std::wstring& path) {
    const std::wstring name = file_name_of(path);
    if (name.empty()) return std::nullopt;
    std::wstring folder = path.substr(0, path.size() - name.size());
    if (folder.size() > 1) folder.pop_back();
    return folder;
}

}  // namespace

ShortcutResult CreateShortcut(const std::wstring& target, const std::wstring& folder,
                              const std::optional<std::wstring>& name) {
    const std::optional<std::wstring> workingFolder = FolderOf(target);
    if (target.size() >= kMaxPath || folder.size() >= kMaxPath || !workingFolder) return {};
    std::wstring linkName = name.value_or(L"");
    if (!name) {
        linkName = file_name_of(target);
        const std::size_t dot = linkName.rfind(L'.');
        if (dot != std::wstring::npos && dot != 0) linkName.erase(dot);
    }
    std::wstring link = folder;
    append_path_element(link, linkName);
    link += L".lnk";
    if (link.size() >= kMaxPath) return {};
    std::ofstream out(to_path(link), std::ios::binary | std::ios::trunc);
    out << to_utf8(target) << '\n' << to_utf8(*workingFolder) << '\n';
    out.close();
    if (!out) return {};
    return {true, link};
}

}  // namespace zu
