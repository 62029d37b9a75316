// The compressed payload of a file given on the command line: a payload archive as it is, or
// the payload resource of a built installer executable.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "support/mapped_file.hpp"
#include "support/memstream.hpp"

namespace installer_tool {

class payload_input {
public:
    // Raises std::runtime_error (or a file-system error) with a message fit for the user.
    explicit payload_input(const std::filesystem::path& path);

    zu::imemstream open() const;
    std::size_t compressed_size() const noexcept { return size_; }
    bool from_executable() const noexcept { return from_executable_; }

private:
    zu::mapped_file file_;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    bool from_executable_ = false;
};

}  // namespace installer_tool
