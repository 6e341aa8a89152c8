// 32-bit pixel words as the host lays them out: blue in bits 0-7, green in
// 8-15, red in 16-23. The top byte is never read and always written as 0.
#pragma once

#include <cstdint>
#include <cstring>

namespace sorvel {

using Pixel32 = std::uint32_t;

constexpr int redOf(Pixel32 p) { return static_cast<int>((p >> 16) & 0xFF); }
constexpr int greenOf(Pixel32 p) { return static_cast<int>((p >> 8) & 0xFF); }
constexpr int blueOf(Pixel32 p) { return static_cast<int>(p & 0xFF); }

// Packs three channel values that are already within 0..255.
constexpr Pixel32 packRgb(int red, int green, int blue) {
    return (static_cast<Pixel32>(red) << 16) | (static_cast<Pixel32>(green) << 8) | static_cast<Pixel32>(blue);
}

// Bitmaps come from the host with any pitch; these accessors make no
// assumption about alignment.
inline Pixel32 loadPixel(const unsigned char* at) {
    Pixel32 p;
    std::memcpy(&p, at, sizeof p);
    return p;
}

inline void storePixel(unsigned char* at, Pixel32 p) { std::memcpy(at, &p, sizeof p); }

}  // namespace sorvel
