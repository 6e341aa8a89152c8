// Converts the uncompressed 24-bit BMP pictures that the dialog host saves
// into PNG files.
//
//   bmp_to_png IN.bmp OUT.png
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "cli/grading/whole_image.h"
#include "cli/media/picture_io.h"

namespace {

std::uint32_t le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bmp_to_png IN.bmp OUT.png\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 28, 2) != 24 || le(b, 30, 4) != 0) {
        std::fprintf(stderr, "%s: not an uncompressed 24-bit BMP file\n", argv[1]);
        return 1;
    }
    const std::size_t offset = le(b, 10, 4);
    const int width = static_cast<int>(le(b, 18, 4));
    const auto height = static_cast<std::int32_t>(le(b, 22, 4));
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (width <= 0 || rows == 0 || offset + stride * static_cast<std::size_t>(rows) > b.size()) {
        std::fprintf(stderr, "%s: truncated or empty picture\n", argv[1]);
        return 1;
    }
    sorvel::cli::Image image(width, rows);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = height < 0 ? y : rows - 1 - y;  // positive height: bottom row first
        const unsigned char* p = &b[offset + stride * static_cast<std::size_t>(fileRow)];
        for (int x = 0; x < width; ++x, p += 3) image.at(x, y) = sorvel::cli::opaque(p[2], p[1], p[0]);
    }
    const std::string error = sorvel::cli::writePicture(argv[2], image);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
