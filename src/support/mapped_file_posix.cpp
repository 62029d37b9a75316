#include "support/mapped_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "support/unique_resource.hpp"

namespace zu {
namespace {

struct fd_traits {
    using value_type = int;
    static value_type invalid() noexcept { return -1; }
    static void close(value_type fd) noexcept { ::close(fd); }
};

[[noreturn]] void fail(const char* what, const std::filesystem::path& path) {
    throw std::filesystem::filesystem_error(what, path, std::error_code(errno, std::generic_category()));
}

}  // namespace

mapped_file::mapped_file(const std::filesystem::path& path) {
    unique_resource<fd_traits> fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) fail("cannot open", path);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) fail("cannot read the size of", path);
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        fail("not a regular file", path);
    }
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ == 0) return;  // mmap refuses empty files; an empty file maps to nothing
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (p == MAP_FAILED) fail("cannot map", path);
    data_ = static_cast<const unsigned char*>(p);
}

mapped_file::~mapped_file() {
    if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
}

}  // namespace zu
