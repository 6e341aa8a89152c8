// The core writes the top byte of every pixel word as 0. In frei0r's BGRA8888
// that byte is alpha, so the wrapper puts each source pixel's alpha back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sorvel::frei0r {

// out[i] = colour of rendered[i] with the alpha of source[i]. Each source
// word is read before out[i] is written, so out may be source.
inline void carryAlpha(const std::uint32_t* source, const std::uint32_t* rendered, std::uint32_t* out,
                       std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = (rendered[i] & 0x00FFFFFFu) | (source[i] & 0xFF000000u);
    }
}

}  // namespace sorvel::frei0r
