// A whole file mapped read-only into memory, for reading large inputs in place (natively).
#pragma once

#include <cstddef>
#include <filesystem>

namespace zu {

class mapped_file {
public:
    // Raises std::filesystem::filesystem_error naming the file when it cannot be opened or mapped.
    explicit mapped_file(const std::filesystem::path& path);
    mapped_file(const mapped_file&) = delete;
    mapped_file& operator=(const mapped_file&) = delete;
    ~mapped_file();

    const unsigned char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace zu
