// In-memory frames: the part of the host's bitmap the transforms use.
#pragma once

#include <cstddef>

namespace sorvel {

struct SourceImage {
    const unsigned char* data;  // first pixel of the first row
    int width;
    int height;
    std::ptrdiff_t pitch;  // signed bytes from one row to the next
};

struct DestImage {
    unsigned char* data;  // written with the source's width and height
    std::ptrdiff_t pitch;
};

// Walks the rows of src and dst together and hands each pair to
// rowFn(srcRow, dstRow, width). Nothing happens for a height or width of 0
// or less. Each row address is formed from the base, so no pointer is ever
// stepped past the last row.
template <class RowFn>
void forEachRow(const SourceImage& src, const DestImage& dst, RowFn&& rowFn) {
    if (src.height <= 0 || src.width <= 0) return;
    for (int y = 0; y < src.height; ++y) {
        rowFn(src.data + static_cast<std::ptrdiff_t>(y) * src.pitch,
              dst.data + static_cast<std::ptrdiff_t>(y) * dst.pitch, src.width);
    }
}

}  // namespace sorvel
