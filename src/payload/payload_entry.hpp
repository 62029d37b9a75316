// One file of the payload archive, as the reader and the install page share it.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

// What an entry holds; the install page decides its placement by it.
enum class payload_kind : std::uint32_t {
    standard_file = 0,   // always written, journaled
    main_program = 1,    // the product's executable
    uninstaller = 2,     // the product's uninstaller
    shared_data = 3,     // kept when already present; opened to all users
    sample_data = 4,     // not written by an update
    temporary_file = 5,  // written to the installation's temporary folder, removed at its end
};

struct payload_entry {
    std::wstring source;       // path on the machine that built the archive; only its file name is used
    std::wstring destination;  // the destination folder as read; once the header is parsed, the full file path
    std::uint32_t kind = 0;    // a payload_kind value (not checked: unknown kinds pass through)
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

}  // namespace zu
