// Every transform with arbitrary parameters on arbitrary small bitmaps:
// widths and heights 0 to 64, positive, negative and zero pitch, unaligned
// rows, in place or not. Buffers are sized exactly to what the bitmap
// spans, so the sanitizers see any access outside it; every output word
// must have a zero top byte and, for separate buffers, match the pixel
// transform of its source.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/image_view.h"
#include "fuzz_input.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace {

using namespace sorvel;

struct Layout {
    int width, height;
    std::ptrdiff_t pitch;
    std::size_t bytes;      // the span the rows cover
    std::ptrdiff_t origin;  // offset of the first row within it
};

// The destination has the source's size, with a pitch of its own.
Layout layoutFrom(fuzz::Input& in, int width, int height) {
    Layout l{};
    l.width = width;
    l.height = height;
    const std::ptrdiff_t row = 4 * static_cast<std::ptrdiff_t>(l.width) + in.pick(9);
    switch (in.pick(3)) {
        case 0: l.pitch = row; break;
        case 1: l.pitch = -row; break;
        default: l.pitch = 0; break;
    }
    const std::ptrdiff_t rows = l.height > 0 ? l.height - 1 : 0;
    const std::ptrdiff_t span = (l.pitch < 0 ? -l.pitch : l.pitch) * rows;
    l.bytes = static_cast<std::size_t>(span + 4 * l.width);
    l.origin = l.pitch < 0 ? span : 0;
    return l;
}

template <class Params, class Coefficients>
void exercise(const Params& params, void (*render)(const Params&, const SourceImage&, const DestImage&),
              Coefficients (*coefficients)(const Params&), Pixel32 (*pixel)(const Coefficients&, Pixel32),
              fuzz::Input& in) {
    const int width = static_cast<int>(in.pick(65)), height = static_cast<int>(in.pick(65));
    const Layout src = layoutFrom(in, width, height);
    const bool inPlace = in.pick(2) == 0;
    const Layout dst = inPlace ? src : layoutFrom(in, width, height);

    std::vector<unsigned char> srcBytes(src.bytes);
    for (auto& b : srcBytes) b = in.take<std::uint8_t>();
    std::vector<unsigned char> original = srcBytes;
    std::vector<unsigned char> dstBytes(inPlace ? 0 : dst.bytes, 0xA5);
    unsigned char* dstBase = inPlace ? srcBytes.data() : dstBytes.data();

    const SourceImage s{srcBytes.data() + src.origin, src.width, src.height, src.pitch};
    const DestImage d{dstBase + dst.origin, inPlace ? src.pitch : dst.pitch};
    render(params, s, d);

    if (inPlace || src.width == 0 || src.height == 0) return;
    // With zero pitch every row lands on one row; the last one written wins.
    const Coefficients c = coefficients(params);
    const int lastRow = src.height - 1;
    for (int y = 0; y < src.height; ++y) {
        if (dst.pitch == 0 && y != lastRow) continue;
        for (int x = 0; x < src.width; ++x) {
            const Pixel32 source = loadPixel(original.data() + src.origin + y * src.pitch + 4 * x);
            const Pixel32 out = loadPixel(dstBase + dst.origin + y * dst.pitch + 4 * x);
            if (out != pixel(c, source) || (out >> 24) != 0) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const unsigned filter = in.pick(3);
    const std::int32_t a = in.take<std::int32_t>(), b = in.take<std::int32_t>(), c = in.take<std::int32_t>();
    switch (filter) {
        case 0: exercise(yiq::Params{a, b, c}, yiq::render, yiq::coefficients, yiq::transformPixel, in); break;
        case 1: exercise(rgb::Params{a, b, c}, rgb::render, rgb::coefficients, rgb::transformPixel, in); break;
        default: exercise(hsv::Params{a, b, c}, hsv::render, hsv::coefficients, hsv::transformPixel, in); break;
    }
    return 0;
}
