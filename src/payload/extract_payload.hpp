// Extraction of the whole payload: the compressed bytes of `source` go through the bzip2
// decompressor (4096-byte buffers) into a payload_extractor, which places and verifies every
// file while the handler follows and steers it.
//
// Notifications: start (before anything else; a handler that throws fails the extraction),
// then the reader's, then finish on success or exactly one error on failure. Returns true
// when the whole archive was extracted. Failures derived from std::exception are not thrown
// but reported through the error notification; what was written stays on disk.
#pragma once

#include <exception>
#include <istream>
#include <system_error>

#include "payload/destination_roots.hpp"
#include "payload/notification.hpp"
#include "payload/special_folders.hpp"

namespace zu {

constexpr std::streamsize kPayloadBufferSize = 4096;

bool extract_payload(std::istream& source, const destination_roots& roots, const notification_handler& handler,
                     const special_folders& folders = {});

// The error code reported for a failure, first match wins: a stream failure with an OS error
// recorded by the C runtime (system category) or errno set (generic category); a bzip2 error
// (bzip2_failure); a std::system_error's own code; a Boost system error in the generic or
// system category; anything else unexpected.
std::error_code error_code_of(const std::exception& failure);

}  // namespace zu
