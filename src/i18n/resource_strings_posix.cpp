#include "i18n/resource_strings.hpp"

#include <map>

namespace zu {
namespace {

struct CatalogueEntry {
    unsigned id;
    const char16_t* text;
};

constexpr CatalogueEntry kCatalogue[] = {
#include "messages.inc"
};

std::wstring widen(const char16_t* text) {
    std::wstring out;
    for (; *text; ++text) {
        char32_t c = *text;
        if (c >= 0xD800 && c < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00);
            ++text;
        }
        out += static_cast<wchar_t>(c);
    }
    return out;
}

}  // namespace

std::wstring load_resource_string(unsigned id) {
    static const std::map<unsigned, std::wstring> catalogue = [] {
        std::map<unsigned, std::wstring> map;
        for (const CatalogueEntry& entry : kCatalogue) map.emplace(entry.id, widen(entry.text));
        return map;
    }();
    auto found = catalogue.find(id);
    return found == catalogue.end() ? std::wstring() : found->second;
}

}  // namespace zu
