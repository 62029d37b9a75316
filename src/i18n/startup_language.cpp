#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "i18n/stored_language.hpp"

void ChooseStartupLanguage() {
    zu::set_language(zu::detect_language(zu::kInstallerDetectionSet));
    zu::set_language(choose_startup_language(zu::get_language(), zu::read_stored_language()));
}
