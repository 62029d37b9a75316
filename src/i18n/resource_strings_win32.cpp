#include "i18n/resource_strings.hpp"

#include "support/windows_api.hpp"

namespace zu {
namespace {

// String tables hold 16 strings per block: block (id / 16) + 1, entry id % 16, each a 16-bit
// length followed by that many UTF-16 units.
bool find_in_module(HMODULE module, unsigned id, std::wstring& text) {
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6) /* RT_STRING */);
    if (!info) return false;
    HGLOBAL loaded = ::LoadResource(module, info);
    const auto* unit = static_cast<const WCHAR*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!unit) return false;
    const DWORD size = ::SizeofResource(module, info) / sizeof(WCHAR);
    const WCHAR* end = unit + size;
    for (unsigned entry = 0; entry < id % 16; ++entry) {
        if (unit >= end) return true;  // truncated block: the entry is empty
        unit += 1 + *unit;
    }
    if (unit >= end) return true;
    const size_t length = *unit;
    if (unit + 1 + length > end) return true;
    text.assign(unit + 1, length);
    return true;
}

}  // namespace

std::wstring load_resource_string(unsigned id) {
    std::wstring text;
    // The language state's resource module is always the executable in the installer.
    find_in_module(::GetModuleHandleW(nullptr), id, text);
    return text;
}

}  // namespace zu
