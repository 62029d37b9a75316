#include "payload/resource_stream.hpp"

#include "support/windows_api.hpp"

namespace zu {

imemstream open_resource_stream(unsigned type, unsigned name, void* resource_module) {
    HMODULE executable = ::GetModuleHandleW(nullptr);
    HMODULE module = resource_module ? static_cast<HMODULE>(resource_module) : executable;
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
    if (!found && module != executable) {
        module = executable;
        found = ::FindResourceW(module, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
    }
    if (!found) return {};
    // Resources stay mapped as long as their module; nothing here needs releasing.
    HGLOBAL loaded = ::LoadResource(module, found);
    const DWORD size = ::SizeofResource(module, found);
    if (!loaded || size == 0) return {};
    const void* bytes = ::LockResource(loaded);
    return open_resource_stream(bytes, bytes ? size : 0);
}

}  // namespace zu
