// What runs during static initialisation, in this order (declaration order within this one
// translation unit): the system gate, the running-product counter registration, the check of
// the conversion facilities, and the application object. Compiled into the installer itself.
#include "app/install_app.hpp"
#include "support/conversion_check.hpp"
#include "support/windows_api.hpp"

namespace {

struct ConversionCheck {
    ConversionCheck() { zu::require_conversion_facilities(); }
} const conversionCheck;

zu::CInstallApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
