#include "i18n/stored_language.hpp"

#include "support/product_identity.hpp"
#include "support/windows_api.hpp"

namespace zu {

std::optional<long long> read_stored_language() {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LSTATUS status = ::SHGetValueW(HKEY_LOCAL_MACHINE, ProductIdentity::uninstallKey, L"ZuLanguage", &type, &value, &size);
    // A string or binary value of the wrong size would otherwise be read as a number.
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return static_cast<long long>(static_cast<std::int32_t>(value));
}

}  // namespace zu
