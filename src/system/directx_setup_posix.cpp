// There is no DirectX to set up off Windows: the library is never held, and the install
// sequence skips its DirectX step as it does on a Windows without a usable setup library.
#include "system/directx_setup.hpp"

namespace zu {

void DirectXSetupLibrary::library_traits::close(value_type) noexcept {}

DirectXSetupLibrary::DirectXSetupLibrary(std::wstring folder) : folder_(std::move(folder)) {}

bool DirectXSetupLibrary::loaded() const { return false; }

void DirectXSetupLibrary::Release() { module_.reset(); }

bool DirectXSetupLibrary::Run(void*, const std::function<void()>&) { return false; }

}  // namespace zu
