#include "support/crc32.hpp"
#include "support/memstream.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(Crc32, MatchesTheStandardCheckValues) {
    struct { std::string data; std::uint32_t crc; } cases[] = {
        {"", 0x00000000u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {std::string(1, '\0'), 0xD202EF8Du},
        {std::string(32, '\xFF'), 0xFF6CAB0Bu},
    };
    for (const auto& c : cases) EXPECT_EQ(zu::crc32(c.data.data(), c.data.size()), c.crc) << c.data.size();
}

TEST(Crc32, FoldsBlockByBlockToTheSameResult) {
    const std::string data = "block one|block two|and a tail that is not a multiple";
    std::uint32_t reg = zu::kCrc32Initial;
    for (std::size_t at = 0; at < data.size(); at += 7) reg = zu::crc32_update(reg, data.data() + at, std::min<std::size_t>(7, data.size() - at));
    EXPECT_EQ(zu::crc32_final(reg), zu::crc32(data.data(), data.size()));
}

TEST(MemoryStreams, InputStreamReadsTheBlockInPlace) {
    const char block[] = "in place";
    zu::imemstream in(block, sizeof block - 1);
    EXPECT_EQ(in.rdbuf()->data(), block);
    std::string word;
    in >> word;
    EXPECT_EQ(word, "in");
    in.seekg(3);
    in >> word;
    EXPECT_EQ(word, "place");
    EXPECT_EQ(in.rdbuf()->sputc('x'), EOF) << "a view must never be written";
    in.clear();
    EXPECT_EQ(in.seekg(9).fail(), true) << "seeking past the block fails";

    zu::imemstream empty;
    EXPECT_EQ(empty.peek(), EOF);
}

TEST(MemoryStreams, OwningStreamGrowsAndReadsFromTheStart) {
    zu::memstream s;
    std::vector<std::size_t> capacities;
    std::string written;
    for (int i = 0; i < 1500; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        s.put(c);
        written += c;
        if (capacities.empty() || capacities.back() != s.rdbuf()->capacity()) capacities.push_back(s.rdbuf()->capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::size_t>{256, 512, 768, 1152, 1728}));
    ASSERT_EQ(s.size(), written.size());
    EXPECT_EQ(std::string(s.data(), s.size()), written);

    std::string first(10, '\0');
    s.read(first.data(), 10);
    EXPECT_EQ(first, written.substr(0, 10));
    s.write("++", 2);  // writes still go to the end
    EXPECT_EQ(std::string(s.data() + s.size() - 2, 2), "++");
    s.seekg(-2, std::ios::end);
    std::string tail(2, '\0');
    s.read(tail.data(), 2);
    EXPECT_EQ(tail, "++");
}

TEST(MemoryStreams, MovedInputStreamKeepsReading) {
    const char block[] = "abc";
    zu::imemstream a(block, 3);
    EXPECT_EQ(a.get(), 'a');
    zu::imemstream b(std::move(a));
    EXPECT_EQ(b.get(), 'b');
}
