// What the payload reader tells its handler, and how the handler steers it.
//
// The alternatives' order is their tag (variant index): start 0, finish 1, begin_entry 2,
// end_entry 3, progress 4, error 5.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <variant>

#include "payload/payload_entry.hpp"

namespace zu {

struct notification {
    enum class result { proceed = 0, abort = 1, skip = 2 };

    // Before the reader exists. A handler that throws fails the extraction with its error.
    struct start {};
    // After a successful extraction: compressed bytes read from the source, and the archive length.
    struct finish {
        std::uint64_t consumed;
        std::uint64_t total;
    };
    // Before anything of the entry is written: proceed writes it, skip consumes its bytes
    // unwritten, abort fails with interrupted.
    struct begin_entry {
        const payload_entry& entry;
    };
    // After a written entry was closed and its checksum verified; abort fails with interrupted.
    struct end_entry {
        const payload_entry& entry;
    };
    // Once when the header is parsed (position = header size), then after every write of the
    // entry phase; abort fails with interrupted.
    struct progress {
        std::uint64_t position;
        std::uint64_t total;
    };
    // Once, after a failure; the answer is ignored.
    struct error {
        std::error_code code;
        std::wstring path;
    };

    using alternatives = std::variant<start, finish, begin_entry, end_entry, progress, error>;
    alternatives value;

    std::size_t tag() const noexcept { return value.index(); }
};

using notification_handler = std::function<notification::result(const notification&)>;

}  // namespace zu
