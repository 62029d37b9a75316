#include "support/object_names.hpp"

#include "support/product_identity.hpp"

namespace zu {
namespace {

std::wstring object_name(const wchar_t* guid) {
    return std::wstring(ProductIdentity::objectNameStem) + L"." + guid;
}

}  // namespace

std::wstring installer_mutex_name() {
    return object_name(kInstallerMutexGuid);
}

std::wstring running_product_counter_name() {
    return object_name(kRunningProductCounterGuid);
}

}  // namespace zu
