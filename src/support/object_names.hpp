// Names of the kernel objects shared with other processes: the product's object-name stem, a
// dot and a GUID. The secured creation functions put global_object_prefix() in front.
#pragma once

#include <string>

namespace zu {

// Lets only one installer run at a time.
constexpr const wchar_t* kInstallerMutexGuid = L"{5ead623c-dfcd-474d-8e3c-e6978cac039e}";
// Every registered process (installer or product) holds one unit of it.
constexpr const wchar_t* kRunningProductCounterGuid = L"{a3526b56-ca7c-4e16-8a26-da7758a378fd}";

std::wstring installer_mutex_name();
std::wstring running_product_counter_name();

}  // namespace zu
