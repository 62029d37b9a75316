#include <gtest/gtest.h>

#include "support/conversion_check.hpp"
#include "support/message_box_rules.hpp"
#include "support/version_info.hpp"

TEST(MessageBoxRules, DefaultIconsByButtonSet) {
    struct Case {
        std::uint32_t type, expected;
    };
    const Case cases[] = {
        {0x0, 0x30},     {0x1, 0x31},  {0x2, 0x2},    {0x3, 0x23},    {0x4, 0x24}, {0x5, 0x5},
        {0x40, 0x40},    {0x14, 0x14}, {0x35, 0x35},  {0x100000, 0x100030},
    };
    for (const Case& c : cases) EXPECT_EQ(zu::with_default_icon(c.type), c.expected) << std::hex << c.type;
}

TEST(MessageBoxRules, StringResourceCodesNeedBothBits) {
    EXPECT_TRUE(zu::is_string_resource_code(0x28000000u | 1234));
    EXPECT_FALSE(zu::is_string_resource_code(0x20000001u));
    EXPECT_FALSE(zu::is_string_resource_code(0x08000001u));
    EXPECT_FALSE(zu::is_string_resource_code(170));
}

TEST(VersionInfoText, PrefixAndBuildSuffixes) {
    EXPECT_EQ(zu::VersionInfo::string_table_prefix(0x0400, 0x04B0), L"\\StringFileInfo\\040004B0");
    EXPECT_EQ(zu::VersionInfo::string_table_prefix(0x040c, 0x04e4), L"\\StringFileInfo\\040C04E4");
    EXPECT_EQ(zu::VersionInfo::build_suffixes(0), L"");
    EXPECT_EQ(zu::VersionInfo::build_suffixes(0x09), L" \u2013 Private \u2013 Debug");
    EXPECT_EQ(zu::VersionInfo::build_suffixes(0x01), L" \u2013 Debug");
}

TEST(ConversionCheck, FacilitiesExistInThisRuntime) { EXPECT_TRUE(zu::conversion_facilities_available()); }
