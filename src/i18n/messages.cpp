#include "i18n/messages.hpp"

#include "i18n/language_state.hpp"
#include "i18n/resource_strings.hpp"
#include "support/product_identity.hpp"

namespace zu {

unsigned localised_message_id(unsigned frenchId, language_number language, const string_loader& load) {
    if (!IsInstallerTranslated(language)) language = kEnglish;
    const unsigned block = language_table()[static_cast<size_t>(language)].messageBlock;
    if (language == kVietnamese || block == 0) return frenchId;
    const unsigned id = frenchId + (block - 1000);
    if (language == kFrench) return id;  // the French block is complete: never examined
    if (load(id) != L"#") return id;
    if (language == kEnglish) return frenchId;
    return load(frenchId + 1000) != L"#" ? frenchId + 1000 : frenchId;
}

std::wstring format_message(const std::wstring& pattern, const std::vector<std::wstring>& arguments) {
    std::wstring out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] >= L'1' && pattern[i + 1] <= L'9') {
            const size_t index = static_cast<size_t>(pattern[i + 1] - L'1');
            if (index < arguments.size()) out += arguments[index];
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace zu

unsigned LocalisedMessageId(unsigned frenchId) {
    return zu::localised_message_id(frenchId, zu::get_language(), zu::load_resource_string);
}

std::wstring LoadMessage(unsigned frenchId) { return zu::load_resource_string(LocalisedMessageId(frenchId)); }

std::wstring FormatMessageText(unsigned frenchId, const std::vector<std::wstring>& arguments) {
    return zu::format_message(LoadMessage(frenchId), arguments);
}

std::wstring InstallerTitle(bool withProduct) {
    std::wstring title = LoadMessage(zu::MessageId(0));
    if (withProduct) {
        title += L" \u2013 ";
        title += zu::ProductIdentity::fullName;
    }
    return title;
}

zu::language_number choose_startup_language(zu::language_number detected, std::optional<long long> stored) {
    zu::language_number chosen = detected;
    if (stored && zu::IsLanguageOffered(*stored)) chosen = static_cast<zu::language_number>(*stored);
    return zu::IsInstallerTranslated(chosen) ? chosen : zu::kEnglish;
}
