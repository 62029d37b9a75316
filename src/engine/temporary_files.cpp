#include "engine/temporary_files.hpp"

#include "system/journal_platform.hpp"

namespace zu {

void TemporaryFileList::Clean() {
    for (const std::wstring& file : files_) journal_platform::delete_file(file);
    files_.clear();
    if (!folder_.empty()) journal_platform::remove_folder(folder_);
    folder_.clear();
}

}  // namespace zu
