#include "payload/compress_error.hpp"

#include <cstdio>

namespace zu {
namespace {

class compress_category_impl final : public std::error_category {
public:
    const char* name() const noexcept override { return "compress"; }
    std::string message(int value) const override {
        switch (static_cast<compress_errc>(value)) {
        case compress_errc::invalid_checksum: return "invalid checksum";
        case compress_errc::interrupted: return "interrupted";
        case compress_errc::bzip2_failure: return "bzip2 error";
        case compress_errc::unexpected: return "unexpected error";
        case compress_errc::payload_check_failed: break;  // shares the text of unknown values
        }
        return "unknown error";
    }
};

}  // namespace

const std::error_category& compress_category() noexcept {
    static const compress_category_impl category;
    return category;
}

std::error_code make_error_code(compress_errc e) noexcept {
    return {static_cast<int>(e), compress_category()};
}

void throw_compress_error(compress_errc e) { throw std::system_error(make_error_code(e)); }

std::wstring extraction_error_text(const std::error_code& code) {
    wchar_t text[16];
    const auto value = static_cast<unsigned>(code.value());
    if (code.category() == std::system_category()) std::swprintf(text, 16, L"1:%08X", value);
    else if (code.category() == std::generic_category()) std::swprintf(text, 16, L"2:%08X", value);
    else if (code.category() == compress_category()) std::swprintf(text, 16, L"%d", code.value());
    else std::swprintf(text, 16, L"%d", static_cast<int>(compress_errc::unexpected));
    return text;
}

}  // namespace zu
