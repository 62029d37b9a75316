/* The companion of the DirectX setup library's test double: present so that the double finds
 * it beside itself as the real library finds its own; it does nothing. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
