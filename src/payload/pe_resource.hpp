// Finding a resource in the file of a Windows executable (not a loaded image): the vendor tool
// reads the payload of a built installer this way on any platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace zu {

struct byte_range {
    const unsigned char* data;
    std::size_t size;
};

class invalid_executable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the bytes begin like an executable ("MZ").
bool looks_like_executable(const unsigned char* file, std::size_t size) noexcept;

// The bytes of the resource with numeric type and name (first language) inside the file;
// nothing when the file has no such resource. Raises invalid_executable when the file's
// headers or resource tree are damaged; every offset is checked against the file's size.
std::optional<byte_range> find_executable_resource(const unsigned char* file, std::size_t size,
                                                   std::uint32_t type, std::uint32_t name);

}  // namespace zu
