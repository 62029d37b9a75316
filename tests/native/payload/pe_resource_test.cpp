#include "payload/pe_resource.hpp"

#include <gtest/gtest.h>

#include "common/pe_image.hpp"

using namespace zu::test;

namespace {

std::optional<std::string> find(const std::string& image, std::uint32_t type, std::uint32_t name) {
    const auto range = zu::find_executable_resource(reinterpret_cast<const unsigned char*>(image.data()), image.size(), type, name);
    if (!range) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(range->data), range->size);
}

}  // namespace

TEST(ExecutableResource, FindsTheResourceByTypeAndName) {
    const std::string image = pe_with_resource(260, 134, "compressed payload");
    EXPECT_EQ(find(image, 260, 134), "compressed payload");
    EXPECT_EQ(find(image, 260, 135), std::nullopt);
    EXPECT_EQ(find(image, 10, 134), std::nullopt);
    EXPECT_FALSE(zu::looks_like_executable(reinterpret_cast<const unsigned char*>("BZh9"), 4));
}

TEST(ExecutableResource, DamagedFilesAreRefusedNotReadPastTheirEnd) {
    const std::string good = pe_with_resource(260, 134, "payload");
    struct { const char* what; std::string image; } cases[] = {
        {"cut in the headers", good.substr(0, 0x60)},
        {"cut in the resource tree", good.substr(0, pe_layout::resources + 0x20)},
        {"cut in the bytes", good.substr(0, good.size() - 3)},
        {"no PE signature", [&] { std::string s = good; s[0x40] = 'X'; return s; }()},
        {"header offset past the end", [&] { std::string s = good; put_at(s, 0x3C, 0xFFFFFFF0u, 4); return s; }()},
        {"subdirectory offset past the tree", [&] { std::string s = good; put_at(s, pe_layout::type_entry + 4, 0x80000000u | 0x7FFFFF00u, 4); return s; }()},
        {"data entry where a directory belongs", [&] { std::string s = good; put_at(s, pe_layout::type_entry + 4, 0x18, 4); return s; }()},
        {"bytes outside every section", [&] { std::string s = good; put_at(s, pe_layout::data_entry, 0x900000, 4); return s; }()},
        {"size past the section", [&] { std::string s = good; put_at(s, pe_layout::data_entry + 4, 0xFFFFFFFFu, 4); return s; }()},
    };
    for (const auto& c : cases) EXPECT_THROW(find(c.image, 260, 134), zu::invalid_executable) << c.what;
}
