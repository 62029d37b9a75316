// The "compress" error category: the codes the payload reader raises besides system and
// file-system errors. Its codes compare with those of the system and generic categories as
// ordinary std::error_code values.
#pragma once

#include <string>
#include <system_error>

namespace zu {

enum class compress_errc {
    invalid_checksum = 3,      // a placed file's CRC-32 differs from its entry
    payload_check_failed = 4,  // the payload failed its check before the extraction
    interrupted = 5,           // the notification handler answered abort
    bzip2_failure = 6,         // the decompressor reported an error
    unexpected = 7,            // a malformed archive, an unresolvable folder, anything else
};

const std::error_category& compress_category() noexcept;

std::error_code make_error_code(compress_errc e) noexcept;

// Raised by the reader; a std::system_error carrying a compress code.
[[noreturn]] void throw_compress_error(compress_errc e);

// The text the install page shows for a failed extraction's code: "1:%08X" for system errors,
// "2:%08X" for C library errors, the decimal value for compress codes, and 7 for anything else.
std::wstring extraction_error_text(const std::error_code& code);

}  // namespace zu

namespace std {
template <>
struct is_error_code_enum<zu::compress_errc> : true_type {};
}  // namespace std
