// A whole picture in memory: pixel words row after row, top row first.
#pragma once

#include <cstddef>
#include <vector>

#include "core/pixel.h"

namespace sorvel::cli {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel32> pixels;  // blue, green, red, alpha from the low byte up
    bool hasAlpha = false;        // whether the top byte carries transparency

    Image() = default;
    Image(int w, int h, Pixel32 fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    Pixel32& at(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    Pixel32 at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// A rectangle of a picture, in pixels from its top left corner.
struct Rect {
    int x, y, width, height;
};

// An opaque pixel from its channel bytes.
constexpr Pixel32 opaque(int red, int green, int blue) { return 0xFF000000u | packRgb(red, green, blue); }

}  // namespace sorvel::cli
