// Special folders by their shell number (CSIDL). On Windows the shell answers; a caller (the
// vendor tool natively, a test) may give its own map instead, in which a folder that is not
// listed is missing exactly as a folder the shell does not know.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace zu {

namespace csidl {
constexpr int personal = 0x05;
constexpr int desktop_directory = 0x10;
constexpr int appdata = 0x1A;
constexpr int common_desktop_directory = 0x19;
constexpr int common_appdata = 0x23;
constexpr int windows = 0x24;
constexpr int system = 0x25;
constexpr int program_files = 0x26;
constexpr int program_files_common = 0x2B;
constexpr int common_documents = 0x2E;
constexpr int none = -1;
}  // namespace csidl

class special_folders {
public:
    // The system's folders: the shell on Windows; natively there are none.
    special_folders() = default;
    explicit special_folders(std::map<int, std::wstring> given) : given_(std::move(given)) {}

    // The folder's path, or an empty string when the machine has no such folder.
    std::wstring find(int folder) const;

private:
    std::optional<std::map<int, std::wstring>> given_;
};

// The shell's current path of a folder, empty when it has none (Windows); always empty natively.
std::wstring system_special_folder(int folder);

// The folder, or its fallback when the folder is missing; raises compress_errc::unexpected when
// both are missing (or the folder is, and there is no fallback).
std::wstring lookup_special_folder(const special_folders& folders, int folder, int fallback = csidl::none);

}  // namespace zu
