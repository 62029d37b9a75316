#include "system/temp_folder_path.hpp"

#include <sys/stat.h>

#include <cerrno>

#include "support/wide_path.hpp"
#include "system/journal_platform.hpp"

namespace zu {

TempFolderPathResult MakeTempFolderPath() {
    const std::wstring folder = journal_platform::temp_folder().value_or(L"");
    return TempFolderPathFrom(folder.size(), folder, 0, RandomUuidText());
}

TempFolderPathResult CreateTempFolder(const std::wstring& path) {
    // mkdir does not follow a link at the path: any link there fails it like a folder.
    if (::mkdir(to_utf8(path).c_str(), 0700) != 0) return {false, TempFolderFailureText(static_cast<std::uint32_t>(errno), L"CreateDirectory")};
    return {true, path};
}

}  // namespace zu
