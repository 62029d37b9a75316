// How the maker can be reached, as the list of installed programs shows it. The web address is
// written to three values of the uninstall key; nothing else in the installer retypes these.
#pragma once

namespace zu {

struct MakerContact {
    static constexpr const wchar_t* publisher = L"Quillon";
    static constexpr const wchar_t* webAddress = L"https://www.quillon.example/";
    static constexpr const wchar_t* supportTelephone = L"+1 555 0142 6605";
};

}  // namespace zu
