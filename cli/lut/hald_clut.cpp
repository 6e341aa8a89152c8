#include "cli/lut/hald_clut.h"

#include <cmath>

#include "cli/lut/every_colour.h"

namespace sorvel::cli {

Image haldClut(const Image& exact, int level) {
    const int steps = level * level;
    if (steps == 256) return exact;
    int nearest[256];
    for (int k = 0; k < steps; ++k) nearest[k] = static_cast<int>(std::lround(k * 255.0 / (steps - 1)));
    const int side = steps * level;
    Image hald(side, side);
    std::size_t i = 0;
    for (int b = 0; b < steps; ++b)
        for (int g = 0; g < steps; ++g)
            for (int r = 0; r < steps; ++r) hald.pixels[i++] = exactAt(exact, nearest[r], nearest[g], nearest[b]);
    return hald;
}

}  // namespace sorvel::cli
