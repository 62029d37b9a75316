#include "support/windows_queries.hpp"

#include "support/windows_api.hpp"

namespace zu {

bool is_vista_or_later() {
    static const bool answer = [] {
        OSVERSIONINFOEXW info{};
        info.dwOSVersionInfoSize = sizeof info;
        info.dwMajorVersion = 6;
        info.dwMinorVersion = 0;
        ULONGLONG condition = 0;
        condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
        condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
        return ::VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
    }();
    return answer;
}

void windows_directory(wchar_t (&buffer)[261]) {
    using Getter = UINT(WINAPI*)(LPWSTR, UINT);
    HMODULE kernel = ::GetModuleHandleW(L"Kernel32");
    auto shared = kernel ? reinterpret_cast<Getter>(reinterpret_cast<void*>(::GetProcAddress(kernel, "GetSystemWindowsDirectoryW")))
                         : nullptr;
    if (shared) {
        shared(buffer, 261);
    } else {
        ::GetWindowsDirectoryW(buffer, 261);
    }
}

}  // namespace zu
