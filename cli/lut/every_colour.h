// The chain's exact output for every 8-bit colour, computed by the filters
// themselves: a 4096 x 4096 picture whose pixel number r + 256 g + 65536 b
// holds the filtered colour (r, g, b). That is also the layout of a level-16
// Hald CLUT, red fastest, then green, then blue.
#pragma once

#include "cli/grading/filters.h"
#include "cli/grading/whole_image.h"

namespace sorvel::cli {

constexpr int kEveryColourSide = 4096;

// The unfiltered picture: every colour once, opaque.
Image everyColour();

// The chain applied to everyColour() on threads threads.
Image exactColours(const FilterChain& chain, int threads);

// The filtered colour of (r, g, b) in a picture made by exactColours.
inline Pixel32 exactAt(const Image& exact, int r, int g, int b) {
    return exact.pixels[static_cast<std::size_t>(r) + 256u * static_cast<std::size_t>(g) +
                        65536u * static_cast<std::size_t>(b)];
}

}  // namespace sorvel::cli
