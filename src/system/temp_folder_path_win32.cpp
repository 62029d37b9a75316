#include "system/temp_folder_path.hpp"

#include "support/windows_api.hpp"

namespace zu {

TempFolderPathResult MakeTempFolderPath() {
    wchar_t buffer[MAX_PATH] = {};
    // A successful call leaves the thread's error as it was; a clean slate keeps the failure
    // text of a too long folder from naming some earlier, unrelated error.
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
    const DWORD error = ::GetLastError();
    buffer[MAX_PATH - 1] = L'\0';
    return TempFolderPathFrom(length, buffer, error, RandomUuidText());
}

}  // namespace zu
