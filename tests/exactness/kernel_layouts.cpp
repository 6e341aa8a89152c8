// Every optimized kernel on frames whose rows end in a partial vector: odd
// widths, padded and negative pitches, and in place. A stride of colours
// that visits the whole cube evenly fills the rows; each output pixel must
// be the scalar result, and nothing outside the rows may be written.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "common/cube_frame.h"
#include "run_names.h"

namespace sorvel::test {
namespace {

constexpr Pixel32 kUntouched = 0xDEADBEEF;
constexpr std::uint32_t kColours = 1u << 20;  // every 16th colour, in scrambled order

const FilterRun kRuns[] = {
    {Filter::yiq, 150, 0, 0},     {Filter::yiq, 0, 150, 300},          {Filter::yiq, INT_MIN, INT_MAX, -2},
    {Filter::rgb, 300, 150, 0},   {Filter::rgb, -50, 1000, -145},      {Filter::hsv, 150, 0, 0},
    {Filter::hsv, 300, 300, 300}, {Filter::hsv, INT_MAX, -1, INT_MIN},
};

// A bitmap of rows with pixelsPerRow slots each, the first ones used and
// the rest padding; bottom-up (negative pitch) when asked.
struct Frame {
    Frame(int rowCount, int pixelsPerRow, bool upsideDown)
        : rows(rowCount), slots(pixelsPerRow), bottomUp(upsideDown),
          pixels(static_cast<std::size_t>(pixelsPerRow) * rowCount, kUntouched) {}

    std::size_t slot(int x, int y) const {
        const int row = bottomUp ? rows - 1 - y : y;
        return static_cast<std::size_t>(row) * slots + x;
    }
    unsigned char* firstRow() { return reinterpret_cast<unsigned char*>(&pixels[slot(0, 0)]); }
    std::ptrdiff_t pitch() const { return (bottomUp ? -4 : 4) * static_cast<std::ptrdiff_t>(slots); }

    int rows, slots;
    bool bottomUp;
    std::vector<Pixel32> pixels;
};

Pixel32 colourAt(std::uint32_t i) { return cubePixel(i * 16u + (i % 16u)); }

struct Layout {
    int width;
    int padding;  // extra pixels per row
    bool bottomUpSource, bottomUpDest, inPlace;
};

const Layout kLayouts[] = {
    {1, 0, false, false, false}, {1, 3, false, true, false},  {3, 1, true, false, false},
    {3, 0, false, false, true},  {7, 2, false, true, false},  {7, 5, true, true, true},
    {17, 3, true, false, false}, {17, 0, false, false, true}, {33, 7, false, true, false},
};

class Layouts : public ::testing::TestWithParam<FilterRun> {};

TEST_P(Layouts, TailsPitchesAndInPlaceGiveTheScalarBits) {
    const FilterRun run = GetParam();
    const std::vector<Kernel> kernels = optimizedKernels(run.filter);
    if (kernels.empty()) GTEST_SKIP() << "no optimized kernel runs on this CPU";
    const ScalarReference reference(run);

    for (const Layout& layout : kLayouts) {
        const int rows = static_cast<int>((kColours + layout.width - 1) / layout.width);
        const int slots = layout.width + layout.padding;
        Frame source(rows, slots, layout.bottomUpSource);
        for (std::uint32_t i = 0; i < kColours; ++i)
            source.pixels[source.slot(static_cast<int>(i % layout.width), static_cast<int>(i / layout.width))] =
                colourAt(i);

        for (Kernel kernel : kernels) {
            Frame dest = layout.inPlace ? source : Frame(rows, slots, layout.bottomUpDest);
            Frame& in = layout.inPlace ? dest : source;
            renderWith(kernel, run, {in.firstRow(), layout.width, rows, in.pitch()}, {dest.firstRow(), dest.pitch()});

            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < slots; ++x) {
                    const Pixel32 got = dest.pixels[dest.slot(x, y)];
                    const std::uint32_t i = static_cast<std::uint32_t>(y) * layout.width + x;
                    // The last row ends in unused slots that hold kUntouched.
                    const Pixel32 want = x >= layout.width ? kUntouched
                                         : i < kColours    ? reference(colourAt(i))
                                                           : reference(kUntouched);
                    ASSERT_EQ(got, want) << describe(run) << " " << kernelName(kernel) << " width " << layout.width
                                         << (layout.inPlace ? " in place" : "") << " at " << x << "," << y;
                }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, Layouts, ::testing::ValuesIn(kRuns), runName);

}  // namespace
}  // namespace sorvel::test
