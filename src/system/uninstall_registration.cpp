#include "system/uninstall_registration.hpp"

#include "i18n/language_state.hpp"
#include "support/product_identity.hpp"
#include "system/maker_contact.hpp"
#include "system/registry_layer.hpp"

namespace zu {
namespace {

UninstallValue String(const wchar_t* name, const std::wstring& text) {
    UninstallValue value{name, registry_layer::kTypeString, {}};
    // The terminating NUL is part of the data: readers that trust the size get a proper string.
    for (wchar_t c : text + L'\0') {
        const auto unit = static_cast<std::uint16_t>(c);
        value.data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        value.data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return value;
}

UninstallValue Dword(const wchar_t* name, std::uint32_t number) {
    return {name,
            registry_layer::kTypeDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

// The first two values name the product and its uninstaller; without them the entry is of no
// use, so they alone decide the step's outcome.
constexpr std::size_t kDecisiveValues = 2;

}  // namespace

std::vector<UninstallValue> UninstallValues(const std::wstring& mainExecutablePath, const std::wstring& uninstallerPath,
                                            language_number language) {
    return {
        String(L"DisplayName", ProductIdentity::fullName),
        String(L"UninstallString", uninstallerPath),
        String(L"DisplayIcon", mainExecutablePath + L",0"),
        String(L"DisplayVersion", ProductIdentity::versionString),
        String(L"Publisher", MakerContact::publisher),
        String(L"URLInfoAbout", MakerContact::webAddress),
        String(L"HelpLink", MakerContact::webAddress),
        String(L"URLUpdateInfo", MakerContact::webAddress),
        String(L"HelpTelephone", MakerContact::supportTelephone),
        Dword(L"NoModify", 1),
        Dword(L"NoRepair", 1),
        Dword(L"ZuLanguage", static_cast<std::uint32_t>(language)),
    };
}

bool WriteUninstallEntry(const std::wstring& mainExecutablePath, const std::wstring& uninstallerPath, CUninstallLog& log) {
    registry_layer::unique_key parent = registry_layer::open_machine_key(kUninstallParentKey);
    if (!parent) return false;
    std::optional<registry_layer::created_key> product =
        registry_layer::create_subkey(parent.get(), ProductIdentity::displayName);
    if (!product) return false;

    log.BeginUninstallKey(product->existed ? product->key.get() : nullptr);
    bool ok = true;
    // The language the messages were actually shown in, so the next run starts in it.
    language_number language = get_language();
    if (!IsInstallerTranslated(language)) language = kEnglish;
    const std::vector<UninstallValue> values = UninstallValues(mainExecutablePath, uninstallerPath, language);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const UninstallValue& v = values[i];
        const bool written = registry_layer::set_value(product->key.get(), v.name, v.type, v.data.data(),
                                                       static_cast<std::uint32_t>(v.data.size()));
        if (i < kDecisiveValues) ok = ok && written;
    }
    product->key.reset();
    log.Complete(ok);
    return ok;
}

}  // namespace zu
