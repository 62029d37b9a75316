// Uninstall.exe, the stand-in product's uninstaller. It reads "Uninstall.ulog" beside itself
// and removes, newest first, what the log says the installations placed (see uninstall_plan:
// entries outside the product's own places are never acted on), the uninstall key and the
// registration; then itself, its log and the folders left empty.
//
//   Uninstall.exe [/quiet]          asks for confirmation unless /quiet
//   Uninstall.exe /cleanup PID PATH (internal) waits for process PID, then deletes PATH, the
//                                   log beside it and the folders above it that are empty
//
// A running program cannot delete its own file, so the last step runs from a copy in the
// temporary folder; that copy hands its own deletion to the command interpreter, which tries
// until the copy has ended.
#include <string>
#include <vector>

#include "support/product_identity.hpp"
#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"
#include "system/uninstall_log.hpp"
#include "system/uninstall_plan.hpp"

namespace {

std::wstring own_path() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring folder_of(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    ::lstrcpynW(buffer, path.c_str(), MAX_PATH);
    ::PathRemoveFileSpecW(buffer);
    return buffer;
}

std::wstring special_folder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    return ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : L"";
}

bool remove_file(const std::wstring& path) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
           ::GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Removes folder and then each parent while they are empty, stopping below stopAt.
void remove_empty_folders_up(std::wstring folder, const std::vector<std::wstring>& keep) {
    while (!folder.empty() && ::PathIsDirectoryW(folder.c_str())) {
        for (const std::wstring& k : keep) {
            if (::lstrcmpiW(k.c_str(), folder.c_str()) == 0) return;
        }
        if (!::RemoveDirectoryW(folder.c_str())) return;
        const std::wstring parent = folder_of(folder);
        if (parent == folder) return;
        folder = parent;
    }
}

int uninstall(bool quiet) {
    const std::wstring self = own_path();
    const std::wstring logPath = folder_of(self) + L"\\Uninstall.ulog";
    if (!quiet) {
        const std::wstring question = std::wstring(L"Remove ") + zu::ProductIdentity::displayName +
                                      L" and all of its components from this computer?";
        if (::MessageBoxW(nullptr, question.c_str(), zu::ProductIdentity::displayName, MB_YESNO | MB_ICONQUESTION) !=
            IDYES) {
            return 2;
        }
    }
    zu::CUninstallLog log;
    log.Read(logPath);

    zu::UninstallRoots roots;
    // The example projects go to a folder on the shared (or the user's) desktop.
    for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_COMMON_APPDATA, CSIDL_APPDATA,
                      CSIDL_LOCAL_APPDATA, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_DESKTOPDIRECTORY,
                      CSIDL_DESKTOPDIRECTORY}) {
        if (auto folder = special_folder(csidl); !folder.empty()) roots.files.push_back(folder);
    }
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY}) {
        if (auto folder = special_folder(csidl); !folder.empty()) roots.shortcuts.push_back(folder);
    }
    roots.installFolder = folder_of(self);

    bool complete = true;
    for (const zu::UninstallAction& action : zu::PlanUninstall(log.earlierEntries(), roots)) {
        switch (action.kind) {
        case zu::UninstallAction::DeleteFile:
        case zu::UninstallAction::DeleteShortcut:
            // Both executables are removed by the last step, once nothing runs from them.
            if (::lstrcmpiW(action.path.c_str(), self.c_str()) == 0) break;
            complete = remove_file(action.path) && complete;
            break;
        case zu::UninstallAction::RemoveFolderIfEmpty:
            ::RemoveDirectoryW(action.path.c_str());  // a folder others still use stays
            break;
        case zu::UninstallAction::DeleteUninstallKey: {
            LSTATUS status = ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey);
            complete = (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) && complete;
            break;
        }
        case zu::UninstallAction::RemoveRegistration:
            complete = zu::UnregisterFileAssociation() && zu::DeleteInstallationRecord() && complete;
            ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
            break;
        }
    }

    // The last step: a copy in the temporary folder waits for this process to end, then
    // removes this program, its log and the folders that are left empty.
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"zu-uninstall-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
    if (!::CopyFileW(self.c_str(), copy.c_str(), FALSE)) return 1;
    ::SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);  // the installer made the original read-only
    std::wstring commandLine = L"\"" + copy + L"\" /cleanup " + std::to_wstring(::GetCurrentProcessId()) + L" \"" + self + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, temp, &startup, &process)) {
        return 1;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return complete ? 0 : 1;
}

// Leaves the deletion of this copy to cmd.exe, which retries until this process has ended.
void delete_self_when_ended() {
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring self = own_path();
    std::wstring commandLine = L"\"" + std::wstring(system) + L"\\cmd.exe\" /d /c for /l %i in (1,1,2000) do (del /f /q \"" +
                               self + L"\" 2>nul & if not exist \"" + self + L"\" exit /b 0)";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

int cleanup(DWORD waitFor, const std::wstring& uninstaller) {
    if (zu::unique_handle parent{::OpenProcess(SYNCHRONIZE, FALSE, waitFor)}) {
        ::WaitForSingleObject(parent.get(), 60000);
    }
    const std::wstring folder = folder_of(uninstaller);
    remove_file(uninstaller);
    remove_file(folder + L"\\Uninstall.ulog");
    std::vector<std::wstring> keep;
    for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS}) keep.push_back(special_folder(csidl));
    // Only the installation folder and the publisher's folder above it, when empty.
    remove_empty_folders_up(folder, keep);
    delete_self_when_ended();
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> args(arguments + 1, arguments + count);
    ::LocalFree(arguments);
    if (args.size() == 3 && args[0] == L"/cleanup") {
        return cleanup(static_cast<DWORD>(std::wcstoul(args[1].c_str(), nullptr, 10)), args[2]);
    }
    const bool quiet = !args.empty() && ::lstrcmpiW(args[0].c_str(), L"/quiet") == 0;
    return uninstall(quiet);
}
