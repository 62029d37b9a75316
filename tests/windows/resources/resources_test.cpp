// Reads the generated pictures and string tables back through the system's own resource
// loaders, the way the wizard will: a picture that windres packed wrongly, a flag drawn in
// the wrong slot or a text mangled on its way through the .rc file shows up here.
#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct icon_traits {
    using value_type = HICON;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type icon) noexcept { ::DestroyIcon(icon); }
};
struct gdi_object_traits {
    using value_type = HGDIOBJ;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type object) noexcept { ::DeleteObject(object); }
};
struct memory_dc_traits {
    using value_type = HDC;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type dc) noexcept { ::DeleteDC(dc); }
};
using unique_icon = zu::unique_resource<icon_traits>;
using unique_gdi_object = zu::unique_resource<gdi_object_traits>;
using unique_memory_dc = zu::unique_resource<memory_dc_traits>;

struct CatalogueEntry {
    unsigned id;
    const char16_t* text;
};
const CatalogueEntry kCatalogue[] = {
#include "messages.inc"
};

HINSTANCE self() { return ::GetModuleHandleW(nullptr); }

unique_icon load_icon(int id, int cx, int cy) {
    return unique_icon(static_cast<HICON>(::LoadImageW(self(), MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR)));
}

// Width, height and colour depth of the colour bitmap behind a loaded icon.
BITMAP icon_bitmap(HICON icon) {
    ICONINFO info{};
    BITMAP bm{};
    if (!::GetIconInfo(icon, &info)) return bm;
    unique_gdi_object colour(info.hbmColor), mask(info.hbmMask);
    ::GetObjectW(colour.get(), sizeof bm, &bm);
    return bm;
}

// The header of the image that the system picks from icon group `id` for cx x cy: tells
// which sizes and depths the group really carries (LoadImageW would scale any of them).
BITMAPINFOHEADER icon_image_header(int id, int cx, int cy) {
    BITMAPINFOHEADER header{};
    HRSRC group = ::FindResourceW(self(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (!group) return header;
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(self(), group)));
    int image_id = ::LookupIconIdFromDirectoryEx(directory, TRUE, cx, cy, LR_DEFAULTCOLOR);
    HRSRC image = ::FindResourceW(self(), MAKEINTRESOURCEW(image_id), RT_ICON);
    if (!image || ::SizeofResource(self(), image) < sizeof header) return header;
    std::memcpy(&header, ::LockResource(::LoadResource(self(), image)), sizeof header);
    return header;
}

struct Sample {
    int x, y;
    COLORREF colour;
};
struct FlagCase {
    int id;
    const char* country;
    Sample first, second;  // two places of different colour, away from the faint edge
};

// Two colours per flag, enough to tell each flag from its neighbours in the id order.
const FlagCase kFlags[] = {
    {141, "Germany", {9, 2, RGB(0x00, 0x00, 0x00)}, {9, 9, RGB(0xFF, 0xCE, 0x00)}},
    {142, "Denmark", {6, 2, RGB(0xFF, 0xFF, 0xFF)}, {2, 2, RGB(0xC8, 0x10, 0x2E)}},
    {143, "Spain", {12, 1, RGB(0xAA, 0x15, 0x1B)}, {12, 6, RGB(0xF1, 0xBF, 0x00)}},
    {144, "France", {2, 6, RGB(0x00, 0x55, 0xA4)}, {15, 6, RGB(0xEF, 0x41, 0x35)}},
    {145, "United Kingdom", {9, 2, RGB(0xC8, 0x10, 0x2E)}, {1, 3, RGB(0x01, 0x21, 0x69)}},
    {146, "Italy", {2, 6, RGB(0x00, 0x92, 0x46)}, {15, 6, RGB(0xCE, 0x2B, 0x37)}},
    {147, "Netherlands", {9, 2, RGB(0xAE, 0x1C, 0x28)}, {9, 9, RGB(0x21, 0x46, 0x8B)}},
    {148, "Portugal", {2, 6, RGB(0x04, 0x6A, 0x38)}, {15, 6, RGB(0xDA, 0x29, 0x1C)}},
    {149, "Turkey", {15, 2, RGB(0xE3, 0x0A, 0x17)}, {3, 6, RGB(0xFF, 0xFF, 0xFF)}},
    {150, "Bulgaria", {9, 2, RGB(0xFF, 0xFF, 0xFF)}, {9, 6, RGB(0x00, 0x96, 0x6E)}},
    {151, "Romania", {2, 6, RGB(0x00, 0x2B, 0x7F)}, {9, 6, RGB(0xFC, 0xD1, 0x16)}},
    {152, "China", {15, 9, RGB(0xDE, 0x29, 0x10)}, {3, 3, RGB(0xFF, 0xDE, 0x00)}},
    {153, "Czech Republic", {15, 2, RGB(0xFF, 0xFF, 0xFF)}, {1, 6, RGB(0x11, 0x45, 0x7E)}},
    {154, "Norway", {2, 2, RGB(0xBA, 0x0C, 0x2F)}, {6, 6, RGB(0x00, 0x20, 0x5B)}},
    {155, "Greece", {1, 1, RGB(0x0D, 0x5E, 0xAF)}, {10, 2, RGB(0xFF, 0xFF, 0xFF)}},
    {156, "Poland", {9, 3, RGB(0xFF, 0xFF, 0xFF)}, {9, 9, RGB(0xDC, 0x14, 0x3C)}},
    {157, "Israel", {9, 2, RGB(0x00, 0x38, 0xB8)}, {2, 6, RGB(0xFF, 0xFF, 0xFF)}},
};

// Draws the icon into a fresh 24-bit top-down bitmap and reads one pixel back.
class IconCanvas {
public:
    IconCanvas(HICON icon, int cx, int cy) : cx_(cx), cy_(cy), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (!bitmap_) return;
        HGDIOBJ previous = ::SelectObject(dc_.get(), bitmap_.get());
        drawn_ = ::DrawIconEx(dc_.get(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
        ::SelectObject(dc_.get(), previous);
    }
    bool drawn() const { return drawn_; }
    COLORREF at(int x, int y) const {
        const auto* row = static_cast<const std::uint8_t*>(bits_) + std::size_t(y) * ((cx_ * 3 + 3) / 4 * 4);
        const std::uint8_t* p = row + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    int cx_, cy_;
    unique_memory_dc dc_;
    unique_gdi_object bitmap_;
    void* bits_ = nullptr;
    bool drawn_ = false;
};

bool near_colour(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 24 && std::abs(GetGValue(a) - GetGValue(b)) <= 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 24;
}

std::string hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

TEST(Pictures, FlagIconsAre18By12TrueColourInLanguageOrder) {
    for (const FlagCase& flag : kFlags) {
        SCOPED_TRACE(std::to_string(flag.id) + " " + flag.country);
        BITMAPINFOHEADER header = icon_image_header(flag.id, 18, 12);
        EXPECT_EQ(header.biWidth, 18);
        EXPECT_EQ(header.biHeight, 24);  // colour and mask rows
        EXPECT_EQ(header.biBitCount, 24);

        // A loaded icon's colour bitmap takes the display's depth (32 bits under Wine), so
        // the depth is checked on the stored image above and only the size here.
        unique_icon icon = load_icon(flag.id, 18, 12);
        ASSERT_TRUE(icon) << "LoadImageW failed: " << ::GetLastError();
        BITMAP bm = icon_bitmap(icon.get());
        EXPECT_EQ(bm.bmWidth, 18);
        EXPECT_EQ(bm.bmHeight, 12);

        IconCanvas canvas(icon.get(), 18, 12);
        ASSERT_TRUE(canvas.drawn());
        for (const Sample& s : {flag.first, flag.second}) {
            COLORREF seen = canvas.at(s.x, s.y);
            EXPECT_TRUE(near_colour(seen, s.colour))
                << "at " << s.x << "," << s.y << ": " << hex(seen) << ", expected " << hex(s.colour);
        }
    }
}

TEST(Pictures, ApplicationIconAndSidePicture) {
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE("icon 128 at " + std::to_string(size));
        BITMAPINFOHEADER header = icon_image_header(128, size, size);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size);
        EXPECT_EQ(header.biBitCount, 32);  // with alpha
    }
    unique_icon icon = load_icon(128, 32, 32);
    ASSERT_TRUE(icon) << "LoadImageW failed: " << ::GetLastError();
    BITMAP bm = icon_bitmap(icon.get());
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);

    // 58 x 105 dialog units at the 8-point dialog font.
    unique_gdi_object side(::LoadImageW(self(), MAKEINTRESOURCEW(137), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(side) << "LoadImageW failed: " << ::GetLastError();
    BITMAP picture{};
    ASSERT_NE(::GetObjectW(side.get(), sizeof picture, &picture), 0);
    EXPECT_EQ(picture.bmWidth, 87);
    EXPECT_EQ(picture.bmHeight, 171);
    EXPECT_EQ(picture.bmBitsPixel, 24);
}

std::u16string load_string(unsigned id) {
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(self(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return u"<missing>";
    return std::u16string(reinterpret_cast<const char16_t*>(text), std::size_t(length));
}

// windres turns UTF-8 into UTF-16 only for narrow strings (wide ones come out byte by byte),
// so every text is compared with the source it was generated from, plus a few known ones.
TEST(StringTables, EveryMessageReadsBackAsWritten) {
    for (const CatalogueEntry& e : kCatalogue) EXPECT_EQ(load_string(e.id), e.text) << "string " << e.id;

    EXPECT_EQ(load_string(1005), u"Précédent");
    EXPECT_EQ(load_string(2115), u"Copying File  %1...");
    EXPECT_EQ(load_string(2110), u"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
    EXPECT_EQ(load_string(1131), u"Mise à jour de DirectX...");
    EXPECT_NE(load_string(1112).find(u'\u00A0'), std::u16string::npos);
    EXPECT_EQ(load_string(17001), u"\u05D0\u05D9\u05E9\u05D5\u05E8");
}

}  // namespace
