// Draws the installer's pictures, so that the repository holds their recipe rather than
// binary files:
//   resgen OUTDIR
// writes OUTDIR/flag141.ico ... OUTDIR/flag157.ico (the language list's flags, 18 x 12,
// 24-bit), OUTDIR/app.ico (the application icon at 16, 32 and 48 pixels, 32-bit with alpha)
// and OUTDIR/side.bmp (the wizard's side picture, 24-bit).
//
// Shapes are predicates over pixel coordinates, filled with 8 x 8 samples per pixel, so the
// tiny flags keep crisp stripes on whole pixels and smooth stars and crescents.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Color {
    double r = 0, g = 0, b = 0, a = 1;
};

Color rgb(std::uint32_t hex, double alpha = 1) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

Color mix(const Color& p, const Color& q, double t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

struct Point {
    double x, y;
};

using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Color(double x, double y)>;

class Canvas {
public:
    Canvas(int width, int height, Color background) : w_(width), h_(height), px_(std::size_t(width) * height, background) {}

    int width() const { return w_; }
    int height() const { return h_; }
    const Color& at(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }

    // Source-over compositing of `paint` where `shape` holds, weighted by the share of the
    // pixel's samples inside the shape.
    void fill(const Shape& shape, const Paint& paint) {
        constexpr int n = 8;
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                int inside = 0;
                for (int sy = 0; sy < n; ++sy)
                    for (int sx = 0; sx < n; ++sx)
                        if (shape(x + (sx + 0.5) / n, y + (sy + 0.5) / n)) ++inside;
                if (inside == 0) continue;
                Color src = paint(x + 0.5, y + 0.5);
                src.a *= double(inside) / (n * n);
                Color& dst = px_[std::size_t(y) * w_ + x];
                double a = src.a + dst.a * (1 - src.a);
                if (a <= 0) continue;
                auto blend = [&](double s, double d) { return (s * src.a + d * dst.a * (1 - src.a)) / a; };
                dst = {blend(src.r, dst.r), blend(src.g, dst.g), blend(src.b, dst.b), a};
            }
        }
    }
    void fill(const Shape& shape, Color color) {
        fill(shape, [color](double, double) { return color; });
    }

private:
    int w_, h_;
    std::vector<Color> px_;
};

// ---- shapes ----------------------------------------------------------------------------

Shape rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape minus(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

// Points within half_width of the infinite line through p and q.
Shape band(Point p, Point q, double half_width) {
    double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
    return [=](double x, double y) { return std::fabs((x - p.x) * dy - (y - p.y) * dx) / len <= half_width; };
}

bool inside_polygon(const std::vector<Point>& v, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i].y > y) != (v[j].y > y) && x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
            in = !in;
    }
    return in;
}

double distance_to_outline(const std::vector<Point>& v, double x, double y) {
    double best = 1e9;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        double dx = v[i].x - v[j].x, dy = v[i].y - v[j].y;
        double t = std::clamp(((x - v[j].x) * dx + (y - v[j].y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        best = std::min(best, std::hypot(x - v[j].x - t * dx, y - v[j].y - t * dy));
    }
    return best;
}

Shape polygon(std::vector<Point> v) {
    return [v = std::move(v)](double x, double y) { return inside_polygon(v, x, y); };
}

// The inner rim of a polygon, `width` deep: its outline drawn inside the shape.
Shape rim(std::vector<Point> v, double width) {
    return [v = std::move(v), width](double x, double y) {
        return inside_polygon(v, x, y) && distance_to_outline(v, x, y) <= width;
    };
}

// A five-pointed star; `angle` is the direction of one point (radians, 0 = right, y down).
std::vector<Point> star_points(double cx, double cy, double radius, double angle) {
    std::vector<Point> v;
    const double inner = radius * 0.382;  // the regular star's ratio of inner to outer radius
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? inner : radius, t = angle + i * kPi / 5;
        v.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
    }
    return v;
}

Shape star(double cx, double cy, double radius, double angle = -kPi / 2) {
    return polygon(star_points(cx, cy, radius, angle));
}

std::vector<Point> triangle_points(double cx, double cy, double radius, double angle) {
    std::vector<Point> v;
    for (int i = 0; i < 3; ++i)
        v.push_back({cx + radius * std::cos(angle + i * 2 * kPi / 3), cy + radius * std::sin(angle + i * 2 * kPi / 3)});
    return v;
}

// ---- flags (18 x 12) -------------------------------------------------------------------

constexpr int kFlagW = 18, kFlagH = 12;
const Color kWhite = rgb(0xFFFFFF);

Canvas horizontal_tricolour(Color top, Color middle, Color bottom) {
    Canvas c(kFlagW, kFlagH, middle);
    c.fill(rect(0, 0, kFlagW, 4), top);
    c.fill(rect(0, 8, kFlagW, kFlagH), bottom);
    return c;
}

Canvas vertical_tricolour(Color hoist, Color middle, Color fly) {
    Canvas c(kFlagW, kFlagH, middle);
    c.fill(rect(0, 0, 6, kFlagH), hoist);
    c.fill(rect(12, 0, kFlagW, kFlagH), fly);
    return c;
}

Canvas nordic_cross(Color field, Color cross, double x0, double x1, double y0, double y1) {
    Canvas c(kFlagW, kFlagH, field);
    c.fill(rect(x0, 0, x1, kFlagH), cross);
    c.fill(rect(0, y0, kFlagW, y1), cross);
    return c;
}

Canvas germany() { return horizontal_tricolour(rgb(0x000000), rgb(0xDD0000), rgb(0xFFCE00)); }

Canvas denmark() { return nordic_cross(rgb(0xC8102E), kWhite, 5, 7, 5, 7); }

Canvas spain() {
    Canvas c(kFlagW, kFlagH, rgb(0xF1BF00));
    c.fill(rect(0, 0, kFlagW, 3), rgb(0xAA151B));
    c.fill(rect(0, 9, kFlagW, kFlagH), rgb(0xAA151B));
    // The arms, reduced to a small shield on the hoist side.
    c.fill(rect(4, 4.5, 7, 7.5), rgb(0xAA151B));
    c.fill(circle(5.5, 7.3, 1.5), rgb(0xAA151B));
    c.fill(rect(5, 5, 6, 7), rgb(0xC8A04C));
    return c;
}

Canvas france() { return vertical_tricolour(rgb(0x0055A4), kWhite, rgb(0xEF4135)); }

Canvas united_kingdom() {
    const Color blue = rgb(0x012169), red = rgb(0xC8102E);
    Canvas c(kFlagW, kFlagH, blue);
    Point tl{0, 0}, br{kFlagW, kFlagH}, bl{0, kFlagH}, tr{kFlagW, 0};
    c.fill(band(tl, br, 1.5), kWhite);
    c.fill(band(bl, tr, 1.5), kWhite);
    c.fill(band(tl, br, 0.7), red);
    c.fill(band(bl, tr, 0.7), red);
    c.fill(rect(7, 0, 11, kFlagH), kWhite);
    c.fill(rect(0, 4, kFlagW, 8), kWhite);
    c.fill(rect(8, 0, 10, kFlagH), red);
    c.fill(rect(0, 5, kFlagW, 7), red);
    return c;
}

Canvas italy() { return vertical_tricolour(rgb(0x009246), kWhite, rgb(0xCE2B37)); }

Canvas netherlands() { return horizontal_tricolour(rgb(0xAE1C28), kWhite, rgb(0x21468B)); }

Canvas portugal() {
    const Color red = rgb(0xDA291C), yellow = rgb(0xFFE900);
    Canvas c(kFlagW, kFlagH, red);
    c.fill(rect(0, 0, 7, kFlagH), rgb(0x046A38));
    // The armillary sphere and the shield on the boundary of the two fields.
    c.fill(minus(circle(7, 6, 2.9), circle(7, 6, 2.0)), yellow);
    c.fill(rect(5.9, 4.6, 8.1, 6.8), red);
    c.fill(circle(7, 6.8, 1.1), red);
    c.fill(rect(6.5, 5.2, 7.5, 7.2), kWhite);
    return c;
}

Canvas turkey() {
    Canvas c(kFlagW, kFlagH, rgb(0xE30A17));
    c.fill(minus(circle(6.3, 6, 3.3), circle(7.15, 6, 2.65)), kWhite);
    c.fill(star(10.9, 6, 1.8, kPi), kWhite);
    return c;
}

Canvas bulgaria() { return horizontal_tricolour(kWhite, rgb(0x00966E), rgb(0xD62612)); }

Canvas romania() { return vertical_tricolour(rgb(0x002B7F), rgb(0xFCD116), rgb(0xCE1126)); }

Canvas china() {
    const Color yellow = rgb(0xFFDE00);
    Canvas c(kFlagW, kFlagH, rgb(0xDE2910));
    c.fill(star(3.2, 3.2, 2.4), yellow);
    const Point small[] = {{6, 1.2}, {7.2, 2.4}, {7.2, 4.2}, {6, 5.4}};
    for (Point p : small) c.fill(star(p.x, p.y, 0.85, std::atan2(3 - p.y, 3 - p.x)), yellow);
    return c;
}

Canvas czech_republic() {
    Canvas c(kFlagW, kFlagH, kWhite);
    c.fill(rect(0, 6, kFlagW, kFlagH), rgb(0xD7141A));
    c.fill(polygon({{0, 0}, {9, 6}, {0, 12}}), rgb(0x11457E));
    return c;
}

Canvas norway() {
    Canvas c = nordic_cross(rgb(0xBA0C2F), kWhite, 4, 8, 4, 8);
    c.fill(rect(5, 0, 7, kFlagH), rgb(0x00205B));
    c.fill(rect(0, 5, kFlagW, 7), rgb(0x00205B));
    return c;
}

Canvas greece() {
    // Nine stripes on twelve rows: the wider white and blue stripes alternate so that the
    // canton still covers the first five stripes and is square.
    const Color blue = rgb(0x0D5EAF);
    const int stripe_rows[9] = {1, 2, 1, 1, 2, 1, 1, 2, 1};
    Canvas c(kFlagW, kFlagH, kWhite);
    int y = 0;
    for (int i = 0; i < 9; y += stripe_rows[i++])
        if (i % 2 == 0) c.fill(rect(0, y, kFlagW, y + stripe_rows[i]), blue);
    c.fill(rect(0, 0, 7, 7), blue);
    c.fill(rect(3, 0, 4, 7), kWhite);
    c.fill(rect(0, 3, 7, 4), kWhite);
    return c;
}

Canvas poland() {
    Canvas c(kFlagW, kFlagH, kWhite);
    c.fill(rect(0, 6, kFlagW, kFlagH), rgb(0xDC143C));
    return c;
}

Canvas israel() {
    const Color blue = rgb(0x0038B8);
    Canvas c(kFlagW, kFlagH, kWhite);
    c.fill(rect(0, 1, kFlagW, 3), blue);
    c.fill(rect(0, 9, kFlagW, 11), blue);
    c.fill(rim(triangle_points(9, 6, 3.0, -kPi / 2), 0.55), blue);
    c.fill(rim(triangle_points(9, 6, 3.0, kPi / 2), 0.55), blue);
    return c;
}

// A faint edge, so that white fields (Poland, Israel) still show their outline on the
// list's white background.
Canvas framed(Canvas c) {
    Shape edge = minus(rect(0, 0, kFlagW, kFlagH), rect(1, 1, kFlagW - 1, kFlagH - 1));
    c.fill(edge, rgb(0x000000, 0.16));
    return c;
}

// ---- the application icon: a box with an arrow going into it --------------------------

Canvas application_icon(int size) {
    const double s = size;
    auto P = [s](double x, double y) { return Point{x * s, y * s}; };
    const Color outline = rgb(0x0E2F66), inside = rgb(0x123A7A);
    const Color flap = rgb(0x3C7FDB), arrow = rgb(0x8CCBFF);
    const double line = std::max(0.7, s / 36);
    Canvas c(size, size, Color{0, 0, 0, 0});

    // The box's open top: the dark inside and the two flaps folded outwards.
    std::vector<Point> opening = {P(0.16, 0.50), P(0.84, 0.50), P(0.78, 0.42), P(0.22, 0.42)};
    c.fill(polygon(opening), inside);
    std::vector<Point> left_flap = {P(0.16, 0.50), P(0.22, 0.42), P(0.12, 0.30), P(0.03, 0.40)};
    std::vector<Point> right_flap = {P(0.84, 0.50), P(0.78, 0.42), P(0.88, 0.30), P(0.97, 0.40)};
    for (const auto& f : {left_flap, right_flap}) {
        c.fill(polygon(f), flap);
        c.fill(rim(f, line), outline);
    }

    // The arrow, drawn before the front face so that its point disappears into the box.
    std::vector<Point> arrow_shape = {P(0.41, 0.04), P(0.59, 0.04), P(0.59, 0.34), P(0.74, 0.34),
                                      P(0.50, 0.64), P(0.26, 0.34), P(0.41, 0.34)};
    c.fill(polygon(arrow_shape), arrow);
    c.fill(rim(arrow_shape, line), outline);

    std::vector<Point> front = {P(0.16, 0.50), P(0.84, 0.50), P(0.80, 0.95), P(0.20, 0.95)};
    const Color top = rgb(0x3D86E8), bottom = rgb(0x1D55B8);
    c.fill(polygon(front), [=](double, double y) { return mix(top, bottom, std::clamp((y / s - 0.5) / 0.45, 0.0, 1.0)); });
    c.fill(rect(0.2 * s, 0.56 * s, 0.8 * s, 0.56 * s + line), rgb(0xFFFFFF, 0.35));  // the lip's highlight
    c.fill(rim(front, line), outline);
    return c;
}

// ---- the side picture -------------------------------------------------------------------

// 58 x 105 dialog units at the wizard's 8-point font (base units 6 x 13 pixels at 96 dpi).
constexpr int kSideW = 87, kSideH = 171;

Canvas side_picture() {
    const double w = kSideW, h = kSideH;
    Canvas c(kSideW, kSideH, Color{});
    const Color top = rgb(0x0B2E6F), bottom = rgb(0x3F93E6);
    c.fill(rect(0, 0, w, h), [=](double, double y) { return mix(top, bottom, y / h); });

    // Light falling from the upper right in soft diagonal bands.
    for (int i = 0; i < 5; ++i) {
        double offset = -40 + i * 38.0;
        c.fill(band({w + offset, 0}, {offset - 60, h}, 5 + 3 * (i % 3)), rgb(0xFFFFFF, 0.05 + 0.015 * (i % 2)));
    }
    // Ripples spreading from the lower left corner.
    for (int i = 1; i <= 6; ++i) {
        double r = 22.0 * i;
        c.fill(minus(circle(-6, h + 6, r + 0.9), circle(-6, h + 6, r - 0.9)), rgb(0xFFFFFF, 0.20 - 0.025 * i));
    }
    // A few squares rising like unpacked pieces.
    const Point pieces[] = {{60, 30}, {70, 48}, {52, 58}, {66, 74}, {44, 86}, {58, 100}};
    for (std::size_t i = 0; i < std::size(pieces); ++i) {
        double d = 2.0 + (i % 3);
        c.fill(rect(pieces[i].x - d, pieces[i].y - d, pieces[i].x + d, pieces[i].y + d), rgb(0xFFFFFF, 0.18 + 0.05 * (i % 2)));
    }
    // The application's box, white, near the bottom.
    Canvas logo = application_icon(48);
    const int lx = (kSideW - 48) / 2, ly = kSideH - 48 - 14;
    c.fill(rect(lx, ly, lx + 48, ly + 48), [&](double x, double y) {
        const Color& p = logo.at(int(x) - lx, int(y) - ly);
        double lum = 0.3 * p.r + 0.59 * p.g + 0.11 * p.b;
        return Color{1, 1, 1, p.a * (0.55 + 0.4 * lum)};
    });
    return c;
}

// ---- file formats -------------------------------------------------------------------------

class Bytes {
public:
    void u8(unsigned v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void u16(unsigned v) { u8(v); u8(v >> 8); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void append(const Bytes& other) { data_ += other.data_; }
    std::size_t size() const { return data_.size(); }
    const std::string& str() const { return data_; }

private:
    std::string data_;
};

unsigned channel(double v) { return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

void bitmap_info_header(Bytes& out, int width, int height, unsigned bits, std::uint32_t image_size) {
    out.u32(40);
    out.u32(width);
    out.u32(height);
    out.u16(1);
    out.u16(bits);
    out.u32(0);  // BI_RGB
    out.u32(image_size);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
}

// Bottom-up rows padded to four bytes, as every device-independent bitmap stores them.
Bytes pixel_rows(const Canvas& c, unsigned bits) {
    Bytes out;
    const std::size_t row = (std::size_t(c.width()) * bits / 8 + 3) / 4 * 4;
    for (int y = c.height() - 1; y >= 0; --y) {
        std::size_t start = out.size();
        for (int x = 0; x < c.width(); ++x) {
            const Color& p = c.at(x, y);
            out.u8(channel(p.b));
            out.u8(channel(p.g));
            out.u8(channel(p.r));
            if (bits == 32) out.u8(channel(p.a));
        }
        while (out.size() - start < row) out.u8(0);
    }
    return out;
}

// The AND mask: a set bit leaves the screen showing through (fully transparent pixels).
Bytes and_mask(const Canvas& c) {
    Bytes out;
    const int row = (c.width() + 31) / 32 * 4;
    for (int y = c.height() - 1; y >= 0; --y) {
        std::vector<unsigned> bytes(row, 0);
        for (int x = 0; x < c.width(); ++x)
            if (channel(c.at(x, y).a) == 0) bytes[x / 8] |= 0x80u >> (x % 8);
        for (unsigned b : bytes) out.u8(b);
    }
    return out;
}

Bytes ico_file(const std::vector<Canvas>& images, unsigned bits) {
    std::vector<Bytes> bodies;
    for (const Canvas& c : images) {
        Bytes pixels = pixel_rows(c, bits), mask = and_mask(c), body;
        bitmap_info_header(body, c.width(), c.height() * 2, bits, std::uint32_t(pixels.size() + mask.size()));
        body.append(pixels);
        body.append(mask);
        bodies.push_back(body);
    }
    Bytes out;
    out.u16(0);
    out.u16(1);  // icon
    out.u16(unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.u8(images[i].width() % 256);
        out.u8(images[i].height() % 256);
        out.u8(0);  // no palette
        out.u8(0);
        out.u16(1);
        out.u16(bits);
        out.u32(std::uint32_t(bodies[i].size()));
        out.u32(offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const Bytes& b : bodies) out.append(b);
    return out;
}

Bytes bmp_file(const Canvas& c) {
    Bytes pixels = pixel_rows(c, 24), out;
    const std::uint32_t header = 14 + 40;
    out.u8('B');
    out.u8('M');
    out.u32(header + std::uint32_t(pixels.size()));
    out.u32(0);
    out.u32(header);
    bitmap_info_header(out, c.width(), c.height(), 24, std::uint32_t(pixels.size()));
    out.append(pixels);
    return out;
}

bool write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.str().data(), std::streamsize(bytes.size()));
    f.close();
    if (!f) std::cerr << "resgen: cannot write " << path << "\n";
    return bool(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: resgen OUTDIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    // In icon id order, from 141.
    Canvas (*const flags[])() = {germany, denmark,  spain,   france, united_kingdom, italy,
                                 netherlands, portugal, turkey, bulgaria, romania, china,
                                 czech_republic, norway, greece, poland, israel};
    bool ok = true;
    for (std::size_t i = 0; i < std::size(flags); ++i)
        ok &= write_file(dir + "/flag" + std::to_string(141 + i) + ".ico", ico_file({framed(flags[i]())}, 24));
    ok &= write_file(dir + "/app.ico", ico_file({application_icon(16), application_icon(32), application_icon(48)}, 32));
    ok &= write_file(dir + "/side.bmp", bmp_file(side_picture()));
    return ok ? 0 : 1;
}
