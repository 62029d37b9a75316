#include "support/conversion_check.hpp"

#include "support/windows_api.hpp"

namespace zu {

void require_conversion_facilities() {
    if (conversion_facilities_available()) return;
    ::MessageBoxW(nullptr, L"Initialization Error", nullptr, MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
    ::ExitProcess(static_cast<UINT>(-11));
}

}  // namespace zu
