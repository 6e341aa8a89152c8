// Draws the filters' icon: three overlapping red, green and blue discs that
// mix additively, above a slider with its thumb. Writes one .ico file with
// six images: 32 x 32 and 16 x 16, each at 8, 4 and 1 bits per pixel, as
// bottom-up DIBs with a colour (XOR) bitmap and a transparency (AND) mask.
//
//   draw_icon OUTPUT.ico
//
// Only exactly rounded arithmetic (+, *, sqrt) decides a pixel, so every
// machine draws the same bytes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};

// What one pixel of the artwork is, before it is mapped to a palette.
struct Sample {
    bool opaque = false;
    Rgb colour{0, 0, 0};
    bool ink = false;  // outline or slider: black in the monochrome image
};

struct Disc {
    double cx, cy;
    Rgb colour;
};

// The artwork in a 32-unit square; smaller images sample it more coarsely.
constexpr double kUnits = 32.0;
constexpr double kRadius = 8.5;
const Disc kDiscs[3] = {
    {11.0, 9.5, {255, 0, 0}},
    {21.0, 9.5, {0, 255, 0}},
    {16.0, 17.0, {0, 0, 255}},
};
// Slider track and thumb, in the same units: [x0, x1) x [y0, y1).
constexpr double kTrack[4] = {2.0, 30.0, 28.0, 30.0};
constexpr double kThumb[4] = {21.0, 26.0, 24.0, 32.0};

bool inside(const double box[4], double x, double y) { return x >= box[0] && x < box[1] && y >= box[2] && y < box[3]; }

double distance(const Disc& d, double x, double y) {
    return std::sqrt((x - d.cx) * (x - d.cx) + (y - d.cy) * (y - d.cy));
}

bool onAnyDisc(double x, double y) {
    for (const Disc& d : kDiscs)
        if (distance(d, x, y) < kRadius) return true;
    return false;
}

// Pixel (px, py) of a size x size image, top row first. `shaded` darkens
// each disc towards its rim (for the 256-colour image); `ink` marks what
// the monochrome image draws in black.
Sample drawPixel(int size, int px, int py, bool shaded) {
    const double unit = kUnits / size;
    const double x = (px + 0.5) * unit, y = (py + 0.5) * unit;
    Sample s;
    if (inside(kThumb, x, y)) {
        const bool edge = !inside(kThumb, x - unit, y) || !inside(kThumb, x + unit, y) ||
                          !inside(kThumb, x, y - unit) || !inside(kThumb, x, y + unit);
        s.opaque = true;
        s.ink = edge || size < 32;
        s.colour = s.ink ? Rgb{0, 0, 0} : Rgb{192, 192, 192};
        return s;
    }
    if (inside(kTrack, x, y)) {
        s.opaque = true;
        s.ink = true;
        s.colour = {128, 128, 128};
        return s;
    }
    int r = 0, g = 0, b = 0;
    bool rim = false;
    for (const Disc& d : kDiscs) {
        const double dist = distance(d, x, y);
        if (dist >= kRadius) continue;
        s.opaque = true;
        const double fall = dist / kRadius;
        const double level = shaded ? 255.0 - 64.0 * fall * fall : 255.0;
        r += static_cast<int>(level * d.colour.r / 255.0);
        g += static_cast<int>(level * d.colour.g / 255.0);
        b += static_cast<int>(level * d.colour.b / 255.0);
        if (dist >= kRadius - unit) rim = true;
    }
    // The small image outlines only the discs' common border; their inner
    // arcs would fill it.
    if (size < 32)
        rim = !onAnyDisc(x - unit, y) || !onAnyDisc(x + unit, y) || !onAnyDisc(x, y - unit) || !onAnyDisc(x, y + unit);
    s.colour = {r > 255 ? 255 : r, g > 255 ? 255 : g, b > 255 ? 255 : b};
    s.ink = rim;
    return s;
}

// Palettes: 256 colours as a 6 x 6 x 6 cube followed by 40 greys, the
// 16 standard VGA colours, and black and white.
std::vector<Rgb> palette(int bits) {
    std::vector<Rgb> p;
    if (bits == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) p.push_back({r * 51, g * 51, b * 51});
        for (int i = 0; i < 40; ++i) {
            const int v = 6 + i * 6;  // 6..240, between the cube's own greys
            p.push_back({v, v, v});
        }
    } else if (bits == 4) {
        static const Rgb vga[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const Rgb& c : vga) p.push_back(c);
    } else {
        p.push_back({0, 0, 0});
        p.push_back({255, 255, 255});
    }
    return p;
}

int nearest(const std::vector<Rgb>& p, Rgb c) {
    int best = 0;
    long bestError = -1;
    for (int i = 0; i < static_cast<int>(p.size()); ++i) {
        const long dr = p[i].r - c.r, dg = p[i].g - c.g, db = p[i].b - c.b;
        const long error = dr * dr + dg * dg + db * db;
        if (bestError < 0 || error < bestError) {
            best = i;
            bestError = error;
        }
    }
    return best;
}

void putByte(std::vector<std::uint8_t>& out, unsigned v) { out.push_back(static_cast<std::uint8_t>(v & 0xFF)); }

void putWord(std::vector<std::uint8_t>& out, unsigned v) {
    putByte(out, v);
    putByte(out, v >> 8);
}

void putLong(std::vector<std::uint8_t>& out, std::uint32_t v) {
    putWord(out, v & 0xFFFF);
    putWord(out, v >> 16);
}

int rowBytes(int size, int bits) { return (size * bits + 31) / 32 * 4; }

// One icon image: BITMAPINFOHEADER (height doubled for the two bitmaps),
// palette, colour bitmap, mask; rows bottom-up, each padded to 4 bytes.
std::vector<std::uint8_t> iconImage(int size, int bits) {
    const std::vector<Rgb> pal = palette(bits);
    const int xorRow = rowBytes(size, bits), andRow = rowBytes(size, 1);
    std::vector<std::uint8_t> xorBits(xorRow * size, 0), andBits(andRow * size, 0);
    for (int py = 0; py < size; ++py) {
        const int row = size - 1 - py;
        for (int px = 0; px < size; ++px) {
            const Sample s = drawPixel(size, px, py, bits == 8);
            int index = 0;
            if (!s.opaque) {
                andBits[row * andRow + px / 8] |= static_cast<std::uint8_t>(0x80 >> (px % 8));
            } else if (bits == 1) {
                index = s.ink ? 0 : 1;
            } else {
                index = nearest(pal, s.colour);
            }
            const int bit = px * bits;
            const int shift = 8 - bits - bit % 8;
            xorBits[row * xorRow + bit / 8] |= static_cast<std::uint8_t>(index << shift);
        }
    }
    std::vector<std::uint8_t> out;
    putLong(out, 40);
    putLong(out, size);
    putLong(out, 2 * size);
    putWord(out, 1);
    putWord(out, bits);
    putLong(out, 0);  // BI_RGB
    putLong(out, static_cast<std::uint32_t>(xorBits.size() + andBits.size()));
    putLong(out, 0);
    putLong(out, 0);
    putLong(out, 0);
    putLong(out, 0);
    for (const Rgb& c : pal) {
        putByte(out, c.b);
        putByte(out, c.g);
        putByte(out, c.r);
        putByte(out, 0);
    }
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_icon OUTPUT.ico\n");
        return 2;
    }
    struct Entry {
        int size, bits;
    };
    const Entry entries[] = {{32, 8}, {32, 4}, {32, 1}, {16, 8}, {16, 4}, {16, 1}};
    const unsigned count = sizeof entries / sizeof entries[0];

    std::vector<std::vector<std::uint8_t>> images;
    for (const Entry& e : entries) images.push_back(iconImage(e.size, e.bits));

    std::vector<std::uint8_t> file;
    putWord(file, 0);
    putWord(file, 1);  // icon
    putWord(file, count);
    std::uint32_t offset = 6 + 16 * count;
    for (unsigned i = 0; i < count; ++i) {
        putByte(file, entries[i].size);
        putByte(file, entries[i].size);
        putByte(file, entries[i].bits >= 8 ? 0 : 1 << entries[i].bits);  // colours, 0 for 256
        putByte(file, 0);
        putWord(file, 1);
        putWord(file, entries[i].bits);
        putLong(file, static_cast<std::uint32_t>(images[i].size()));
        putLong(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "draw_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
