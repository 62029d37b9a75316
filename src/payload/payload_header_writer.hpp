// Writing an archive header (the vendor's side of the format read by payload_extractor).
// Depends on nothing but the standard library, so that build-time generators can use it.
#pragma once

#include <string>
#include <vector>

#include "payload/payload_entry.hpp"

namespace zu {

// The header for entries whose `destination` is still the destination folder. The file data
// must follow it in the same order. Raises std::length_error when the header would exceed
// the reader's bound or a string is too long for its length field.
std::string encode_payload_header(const std::vector<payload_entry>& entries);

}  // namespace zu
