#include "system/temp_folder_path.hpp"

#include "system/journal_platform.hpp"

namespace zu {

TempFolderPathResult MakeTempFolderPath() {
    const std::wstring folder = journal_platform::temp_folder().value_or(L"");
    return TempFolderPathFrom(folder.size(), folder, 0, RandomUuidText());
}

}  // namespace zu
