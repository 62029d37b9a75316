// Checks the generated message catalogue as a translator's reviewer would: every block
// covers the English offsets, keeps the English inserts (and their quotes), and the
// placeholder blocks hold nothing but a few button captions.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "support/wide_path.hpp"

namespace {

struct CatalogueEntry {
    unsigned id;
    const char16_t* text;
};

const CatalogueEntry kCatalogue[] = {
#include "messages.inc"
};

constexpr unsigned kEnglish = 2000;
constexpr unsigned kDirectXOffset = 131;
const std::u16string kUntranslated = u"#";

using Block = std::map<unsigned, std::u16string>;  // offset -> text

Block block_at(unsigned base) {
    Block block;
    for (const CatalogueEntry& e : kCatalogue)
        if (e.id >= base && e.id < base + 1000) block.emplace(e.id - base, e.text);
    return block;
}

// The inserts of a text, each written as it appears: "'%1'" when quoted, "%1" otherwise,
// so that a translation that drops an insert or its quotes differs from the English.
std::multiset<std::u16string> inserts_of(const std::u16string& text) {
    std::multiset<std::u16string> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'%' || text[i + 1] < u'1' || text[i + 1] > u'9') continue;
        bool quoted = i > 0 && text[i - 1] == u'\'' && i + 2 < text.size() && text[i + 2] == u'\'';
        found.insert(quoted ? u"'" + text.substr(i, 2) + u"'" : text.substr(i, 2));
    }
    return found;
}

bool ends_with(const std::u16string& text, const std::u16string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// For failure messages: the message texts are all within the Basic Multilingual Plane.
std::string utf8(const std::u16string& text) { return zu::to_utf8(std::wstring(text.begin(), text.end())); }

struct TranslatedBlock {
    unsigned base;
    const char* name;
};

const TranslatedBlock kTranslated[] = {
    {3000, "German"},  {4000, "Spanish"}, {5000, "Portuguese"},
    {6000, "Italian"}, {9000, "Turkish"}, {12000, "Romanian"},
};

struct PlaceholderBlock {
    unsigned base;
    const char* name;
    int min_captions;  // how many texts other than "#" the block may hold
    int max_captions;
};

const PlaceholderBlock kPlaceholders[] = {
    {7000, "Dutch", 1, 9},        {8000, "Danish", 1, 9},     {10000, "Chinese", 0, 0},
    {11000, "Bulgarian", 0, 0},   {13000, "Czech", 1, 9},     {14000, "Norwegian", 1, 9},
    {15000, "Greek", 0, 0},       {16000, "Polish", 0, 0},    {17000, "Hebrew", 7, 7},
};

TEST(MessagesCatalogue, TranslatedBlocksCoverEveryEnglishMessageWithItsInserts) {
    const Block english = block_at(kEnglish);
    ASSERT_FALSE(english.empty());
    for (const TranslatedBlock& c : kTranslated) {
        SCOPED_TRACE(c.name);
        const Block block = block_at(c.base);
        EXPECT_EQ(block.size(), english.size()) << "offsets outside the English block";
        for (const auto& [offset, source] : english) {
            SCOPED_TRACE("offset " + std::to_string(offset));
            auto it = block.find(offset);
            ASSERT_NE(it, block.end()) << "missing";
            const std::u16string& text = it->second;
            if (offset == kDirectXOffset) {
                EXPECT_EQ(text, kUntranslated);
                continue;
            }
            EXPECT_NE(text, kUntranslated) << "left untranslated";
            EXPECT_EQ(inserts_of(text), inserts_of(source)) << utf8(text);
            EXPECT_EQ(ends_with(text, u"..."), ends_with(source, u"...")) << utf8(text);
            EXPECT_EQ(text.find(u"\r\n\r\n") != std::u16string::npos,
                      source.find(u"\r\n\r\n") != std::u16string::npos)
                << utf8(text);
        }
    }
}

TEST(MessagesCatalogue, PlaceholderBlocksHoldOnlyButtonCaptions) {
    const Block english = block_at(kEnglish);
    ASSERT_FALSE(english.empty());
    for (const PlaceholderBlock& c : kPlaceholders) {
        SCOPED_TRACE(c.name);
        const Block block = block_at(c.base);
        EXPECT_EQ(block.size(), english.size()) << "offsets outside the English block";
        int captions = 0;
        for (const auto& [offset, source] : english) {
            SCOPED_TRACE("offset " + std::to_string(offset));
            auto it = block.find(offset);
            ASSERT_NE(it, block.end()) << "missing";
            if (it->second == kUntranslated) continue;
            ++captions;
            EXPECT_TRUE(offset >= 1 && offset <= 9) << "caption outside the buttons: " << utf8(it->second);
            EXPECT_TRUE(inserts_of(it->second).empty()) << utf8(it->second);
        }
        EXPECT_GE(captions, c.min_captions);
        EXPECT_LE(captions, c.max_captions);
    }
}

}  // namespace
