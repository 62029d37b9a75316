// Where the compressed payload comes from. The stream reads the bytes in place: on Windows
// from the loaded resource, natively from a memory block (for instance a mapped file).
#pragma once

#include <cstddef>

#include "support/memstream.hpp"

namespace zu {

constexpr unsigned kPayloadResourceType = 260;
constexpr unsigned kPayloadResourceName = 134;

#ifdef _WIN32
// The resource (numeric type and name) from resource_module, or from the executable when that
// module is null, or lacks it and is not the executable. An absent or empty resource gives an
// empty stream. resource_module is an HMODULE.
imemstream open_resource_stream(unsigned type, unsigned name, void* resource_module = nullptr);
#endif

// A stream over size bytes at data, which must outlive it; null gives an empty stream.
inline imemstream open_resource_stream(const void* data, std::size_t size) {
    return data ? imemstream(static_cast<const char*>(data), size) : imemstream();
}

}  // namespace zu
