#include "cli/photo/orientation.h"

#include <cstring>

namespace sorvel::cli {

bool turnsSideways(int orientation) { return orientation >= 5 && orientation <= 8; }

void orientPixels(const std::uint8_t* from, int fromStride, int width, int height, int orientation, std::uint8_t* to,
                  int toStride) {
    const bool sideways = turnsSideways(orientation);
    const int outWidth = sideways ? height : width;
    const int outHeight = sideways ? width : height;
    for (int y = 0; y < outHeight; ++y) {
        std::uint8_t* row = to + static_cast<std::ptrdiff_t>(y) * toStride;
        for (int x = 0; x < outWidth; ++x) {
            // The stored pixel shown at (x, y).
            int sx = x, sy = y;
            // clang-format off
            switch (orientation) {
                case 2: sx = width - 1 - x; break;
                case 3: sx = width - 1 - x; sy = height - 1 - y; break;
                case 4: sy = height - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = y; sy = height - 1 - x; break;
                case 7: sx = width - 1 - y; sy = height - 1 - x; break;
                case 8: sx = width - 1 - y; sy = x; break;
                default: break;
            }
            // clang-format on
            std::memcpy(row + 4 * x, from + static_cast<std::ptrdiff_t>(sy) * fromStride + 4 * sx, 4);
        }
    }
}

}  // namespace sorvel::cli
