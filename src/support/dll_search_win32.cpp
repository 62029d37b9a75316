#include "support/dll_search.hpp"

#include "support/windows_api.hpp"

namespace zu {

bool RestrictDllSearchToSystemFolder() {
    // Without the newer call at least the current folder leaves the search.
    ::SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return false;
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace zu
