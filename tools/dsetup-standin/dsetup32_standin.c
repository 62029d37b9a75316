/* The companion of the DirectX setup library's test double, which imports it as the real
 * library needs its own; it does nothing but answer that it is there. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) int WINAPI ZuDsetupCompanionMark(void) { return 1; }
