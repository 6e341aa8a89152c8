#include "cli/lut/every_colour.h"

#include "cli/grading/frame_filter.h"

namespace sorvel::cli {

Image everyColour() {
    Image image(kEveryColourSide, kEveryColourSide);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = 0xFF000000u | static_cast<Pixel32>(((i & 0xFF) << 16) | (i & 0xFF00) | (i >> 16));
    return image;
}

Image exactColours(const FilterChain& chain, int threads) {
    const Image source = everyColour();
    Image exact(kEveryColourSide, kEveryColourSide);
    const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(kEveryColourSide) * 4;
    FrameFilter filter(chain, threads);
    filter.run(reinterpret_cast<const unsigned char*>(source.pixels.data()), pitch,
               reinterpret_cast<unsigned char*>(exact.pixels.data()), pitch, kEveryColourSide, kEveryColourSide);
    return exact;
}

}  // namespace sorvel::cli
