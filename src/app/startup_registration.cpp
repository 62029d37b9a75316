// What runs during static initialisation, in this order: the system gate and the
// running-product counter registration (their own files, by priority), the check of the
// conversion facilities, then the application object. Compiled into the installer itself.
#include "app/install_app.hpp"
#include "support/conversion_check.hpp"
#include "support/static_init_order.hpp"
#include "support/windows_api.hpp"

namespace {

struct ConversionCheck {
    ConversionCheck() { zu::require_conversion_facilities(); }
} const conversionCheck ZU_INIT_PRIORITY(zu::init_order::conversionCheck);

zu::CInstallApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
