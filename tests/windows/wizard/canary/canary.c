/* A library named like one that programs commonly load by name. Loaded anywhere, it leaves
 * "<its own path>.loaded" behind, so that a test can tell which copies a process took. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatW(path, L".loaded");
    HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return TRUE;
}

/* What the DirectX setup library imports from its companion: a planted companion must satisfy
 * the import, or the loader would refuse it before its DllMain could tell on it. */
__declspec(dllexport) int WINAPI ZuDsetupCompanionMark(void) { return 0; }
