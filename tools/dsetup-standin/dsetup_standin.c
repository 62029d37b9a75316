/* A test and demo double of the DirectX setup library: the installer's DirectX step loads it
 * from the installation's temporary folder exactly as it would load the real library, and this
 * double answers as a test tells it to. It installs nothing and changes nothing on the system.
 *
 * What it answers is read from the environment at each call:
 *   ZU_DSETUP_VERSION         version reported by DirectXSetupGetVersion (default 0x00040009);
 *                             decimal, or hexadecimal with a 0x prefix
 *   ZU_DSETUP_REVISION        revision reported with it (default 904)
 *   ZU_DSETUP_VERSION_FAILS   "1": DirectXSetupGetVersion fails (answers 0) and reports nothing
 *   ZU_DSETUP_PROGRESS_CALLS  how often DirectXSetupW calls the registered callback with the
 *                             progress reason 18 before it returns (default 3)
 *   ZU_DSETUP_RESULT          what DirectXSetupW answers (default 0); may be negative
 *   ZU_DSETUP_TRACE           a file to which every call appends one line, for the test to read:
 *                               "version <version> <revision>"
 *                               "callback <set|none>"
 *                               "setup flags=0x%08x parent=<0|1> companion=<0|1> folder=<path>"
 *                               "progress 18 answered <n>"   (once per callback call)
 *                             the folder in UTF-8; companion says whether the dsetup32.dll the
 *                             loader gave this library (it imports it) is the one beside it.
 *
 * Built without DirectXSetupW when ZU_DSETUP_WITHOUT_SETUP is defined, for the test of a
 * library that lacks an entry point. */
#define WIN32_LEAN_AND_MEAN
#define UNICODE
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

typedef DWORD(WINAPI* setup_callback)(DWORD reason, DWORD message_type, char* message, char* name, void* info);

static setup_callback registered_callback;

#ifndef ZU_DSETUP_WITHOUT_SETUP
__declspec(dllimport) int WINAPI ZuDsetupCompanionMark(void);
#endif

static long long env_number(const wchar_t* name, long long fallback) {
    wchar_t text[64];
    DWORD length = GetEnvironmentVariableW(name, text, 64);
    if (length == 0 || length >= 64) return fallback;
    return wcstoll(text, NULL, 0);
}

static void trace(const char* line) {
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"ZU_DSETUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

__declspec(dllexport) int WINAPI DirectXSetupGetVersion(DWORD* version, DWORD* revision) {
    char line[96];
    if (env_number(L"ZU_DSETUP_VERSION_FAILS", 0) == 1) {
        trace("version failed");
        return 0;
    }
    DWORD v = (DWORD)env_number(L"ZU_DSETUP_VERSION", 0x00040009);
    DWORD r = (DWORD)env_number(L"ZU_DSETUP_REVISION", 904);
    if (version) *version = v;
    if (revision) *revision = r;
    snprintf(line, sizeof line, "version 0x%08lx %lu", (unsigned long)v, (unsigned long)r);
    trace(line);
    return 1;
}

__declspec(dllexport) int WINAPI DirectXSetupSetCallback(setup_callback callback) {
    registered_callback = callback;
    trace(callback ? "callback set" : "callback none");
    return 1;
}

#ifndef ZU_DSETUP_WITHOUT_SETUP
/* The companion is imported, as the real library needs its own: the loader has found it before
 * this library runs. 1 when the one loaded is the one beside this library. */
static int companion_loads(void) {
    wchar_t own[MAX_PATH];
    wchar_t companion[MAX_PATH];
    HMODULE self = NULL;
    if (ZuDsetupCompanionMark() != 1) return 0;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCWSTR)(void*)&companion_loads, &self))
        return 0;
    HMODULE loaded = GetModuleHandleW(L"dsetup32.dll");
    if (!loaded) return 0;
    DWORD ownLength = GetModuleFileNameW(self, own, MAX_PATH);
    DWORD companionLength = GetModuleFileNameW(loaded, companion, MAX_PATH);
    if (ownLength == 0 || ownLength >= MAX_PATH || companionLength == 0 || companionLength >= MAX_PATH) return 0;
    wchar_t* ownSlash = wcsrchr(own, L'\\');
    wchar_t* companionSlash = wcsrchr(companion, L'\\');
    if (!ownSlash || !companionSlash) return 0;
    *ownSlash = L'\0';
    *companionSlash = L'\0';
    return _wcsicmp(own, companion) == 0;
}

__declspec(dllexport) int WINAPI DirectXSetupW(HWND parent, wchar_t* source_path, DWORD flags) {
    char folder[3 * MAX_PATH + 1] = "";
    char line[sizeof folder + 96];
    if (source_path) WideCharToMultiByte(CP_UTF8, 0, source_path, -1, folder, (int)sizeof folder, NULL, NULL);
    snprintf(line, sizeof line, "setup flags=0x%08lx parent=%d companion=%d folder=%s", (unsigned long)flags,
             parent != NULL, companion_loads(), folder);
    trace(line);
    long long calls = env_number(L"ZU_DSETUP_PROGRESS_CALLS", 3);
    for (long long i = 0; i < calls && registered_callback; ++i) {
        static char message[] = "Installing the stand-in's nothing";
        static char name[] = "stand-in";
        DWORD answer = registered_callback(18, 0, message, name, NULL);
        snprintf(line, sizeof line, "progress 18 answered %lu", (unsigned long)answer);
        trace(line);
    }
    return (int)env_number(L"ZU_DSETUP_RESULT", 0);
}
#endif
