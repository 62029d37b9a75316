#include "payload/pe_resource.hpp"

#include <string>

namespace zu {
namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kNamedEntryFlag = 0x80000000u;
constexpr int kLevels = 3;  // type, name, language

[[noreturn]] void damaged(const char* what) { throw invalid_executable(std::string("damaged executable: ") + what); }

class file_view {
public:
    file_view(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool fits(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
    std::uint16_t u16(std::uint64_t at) const {
        if (!fits(at, 2)) damaged("header out of bounds");
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t u32(std::uint64_t at) const {
        if (!fits(at, 4)) damaged("header out of bounds");
        return data_[at] | (std::uint32_t{data_[at + 1]} << 8) | (std::uint32_t{data_[at + 2]} << 16) |
               (std::uint32_t{data_[at + 3]} << 24);
    }
    const unsigned char* at(std::uint64_t offset) const { return data_ + offset; }

private:
    const unsigned char* data_;
    std::size_t size_;
};

struct section_table {
    std::uint64_t offset;
    std::uint32_t count;
};

// The file offset of a relative virtual address, through the section that holds it.
std::uint64_t file_offset_of(const file_view& file, const section_table& sections, std::uint32_t rva, std::uint32_t length) {
    for (std::uint32_t i = 0; i < sections.count; ++i) {
        const std::uint64_t s = sections.offset + std::uint64_t{i} * 40;
        const std::uint32_t virtual_address = file.u32(s + 12);
        const std::uint32_t raw_size = file.u32(s + 16);
        const std::uint32_t raw_offset = file.u32(s + 20);
        if (rva >= virtual_address && std::uint64_t{rva} + length <= std::uint64_t{virtual_address} + raw_size) {
            const std::uint64_t offset = std::uint64_t{raw_offset} + (rva - virtual_address);
            if (!file.fits(offset, length)) damaged("section data out of bounds");
            return offset;
        }
    }
    damaged("address outside every section");
}

// The entry of a resource directory with a numeric id, or the first entry when id is absent.
std::optional<std::uint32_t> find_entry(const file_view& file, std::uint64_t directory, std::optional<std::uint32_t> id) {
    const std::uint32_t named = file.u16(directory + 12);
    const std::uint32_t numbered = file.u16(directory + 14);
    for (std::uint32_t i = 0; i < named + numbered; ++i) {
        const std::uint64_t entry = directory + 16 + std::uint64_t{i} * 8;
        const std::uint32_t entry_name = file.u32(entry);
        if (!id || (!(entry_name & kNamedEntryFlag) && entry_name == *id)) return file.u32(entry + 4);
    }
    return std::nullopt;
}

}  // namespace

bool looks_like_executable(const unsigned char* file, std::size_t size) noexcept {
    return size >= 2 && file[0] == 'M' && file[1] == 'Z';
}

std::optional<byte_range> find_executable_resource(const unsigned char* data, std::size_t size, std::uint32_t type,
                                                   std::uint32_t name) {
    const file_view file(data, size);
    if (!looks_like_executable(data, size)) damaged("no MZ signature");
    const std::uint64_t pe = file.u32(0x3C);
    if (file.u32(pe) != 0x00004550u) damaged("no PE signature");
    const std::uint64_t coff = pe + 4;
    const section_table sections{coff + 20 + file.u16(coff + 16), file.u16(coff + 2)};
    const std::uint64_t optional_header = coff + 20;
    const std::uint16_t magic = file.u16(optional_header);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) damaged("unknown optional header");
    const std::uint64_t directories = optional_header + (magic == kPe32Magic ? 96 : 112);
    const std::uint32_t directory_count = file.u32(directories - 4);
    if (directory_count <= kResourceDirectoryIndex) return std::nullopt;
    const std::uint32_t resource_rva = file.u32(directories + kResourceDirectoryIndex * 8);
    const std::uint32_t resource_size = file.u32(directories + kResourceDirectoryIndex * 8 + 4);
    if (resource_rva == 0 || resource_size == 0) return std::nullopt;
    const std::uint64_t root = file_offset_of(file, sections, resource_rva, resource_size);

    // Offsets inside the tree are relative to its root and must stay inside it.
    std::uint64_t directory = root;
    std::optional<std::uint32_t> ids[kLevels] = {type, name, std::nullopt};
    std::uint32_t target = 0;
    for (int level = 0; level < kLevels; ++level) {
        const std::optional<std::uint32_t> entry = find_entry(file, directory, ids[level]);
        if (!entry) return std::nullopt;
        const bool subdirectory = (*entry & kSubdirectoryFlag) != 0;
        target = *entry & ~kSubdirectoryFlag;
        if (target >= resource_size) damaged("resource tree offset out of bounds");
        if (subdirectory != (level < kLevels - 1)) damaged("resource tree of unexpected depth");
        directory = root + target;
    }
    const std::uint64_t data_entry = root + target;
    const std::uint32_t bytes_rva = file.u32(data_entry);
    const std::uint32_t bytes_size = file.u32(data_entry + 4);
    if (bytes_size == 0) return std::nullopt;
    const std::uint64_t offset = file_offset_of(file, sections, bytes_rva, bytes_size);
    return byte_range{file.at(offset), bytes_size};
}

}  // namespace zu
