#include "payload/compress_error.hpp"

#include <gtest/gtest.h>

TEST(CompressCategory, NamesEveryCodeAndComparesAsAnErrorCode) {
    EXPECT_STREQ(zu::compress_category().name(), "compress");
    struct { int value; const char* message; } cases[] = {
        {3, "invalid checksum"}, {4, "unknown error"}, {5, "interrupted"},
        {6, "bzip2 error"},      {7, "unexpected error"}, {0, "unknown error"}, {8, "unknown error"},
    };
    for (const auto& c : cases) EXPECT_EQ(zu::compress_category().message(c.value), c.message) << c.value;

    const std::error_code code = zu::compress_errc::interrupted;
    EXPECT_EQ(code, std::error_code(5, zu::compress_category()));
    EXPECT_NE(code, std::error_code(5, std::system_category()));
    EXPECT_NE(code, std::error_code(5, std::generic_category()));
}

TEST(CompressCategory, ExtractionErrorTextFollowsTheCategory) {
    struct { std::error_code code; const wchar_t* text; } cases[] = {
        {{5, std::system_category()}, L"1:00000005"},
        {{0x20, std::system_category()}, L"1:00000020"},
        {{13, std::generic_category()}, L"2:0000000D"},
        {zu::compress_errc::invalid_checksum, L"3"},
        {zu::compress_errc::unexpected, L"7"},
        {std::make_error_code(std::io_errc::stream), L"7"},
    };
    for (const auto& c : cases) EXPECT_EQ(zu::extraction_error_text(c.code), c.text) << c.code.message();
}
