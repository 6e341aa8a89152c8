#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "hsv/hsv_transform.h"

namespace sorvel::hsv {
namespace {

struct PixelCase {
    Params params;
    Pixel32 in;
    Pixel32 out;
};

TEST(HsvPixel, WorkedExamplesAndEdgeValues) {
    const PixelCase cases[] = {
        // Defaults: identity on greys, primaries, secondaries; a hair lower elsewhere.
        {{150, 0, 0}, 0x000000, 0x000000},
        {{150, 0, 0}, 0xFFFFFF, 0xFFFFFF},
        {{150, 0, 0}, 0x7F7F7F, 0x7F7F7F},
        {{150, 0, 0}, 0xFF0000, 0xFF0000},
        {{150, 0, 0}, 0x00FF00, 0x00FF00},
        {{150, 0, 0}, 0x0000FF, 0x0000FF},
        {{150, 0, 0}, 0xFFFF00, 0xFFFF00},
        {{150, 0, 0}, 0x00FFFF, 0x00FFFF},
        {{150, 0, 0}, 0xFF00FF, 0xFF00FF},
        {{150, 0, 0}, 0xC86432, 0xC86432},
        {{150, 0, 0}, 0x000312, 0x000212},
        {{150, 0, 0}, 0x123456, 0x113456},
        {{150, 0, 0}, 0x080708, 0x070708},
        // Saturation at full strength.
        {{150, 300, 0}, 0xC86432, 0xC84606},
        {{150, 300, 0}, 0x806060, 0x801D1D},
        {{150, 300, 0}, 0x808080, 0x808080},
        // Half a turn each way.
        {{300, 0, 0}, 0xFF0000, 0x00FFFF},
        {{300, 0, 0}, 0x00FF00, 0xFF00FF},
        {{300, 0, 0}, 0x00FFFF, 0xFF0000},
        {{300, 0, 0}, 0x008080, 0x800000},
        {{300, 0, 0}, 0xC86432, 0x3295C8},
        {{300, 0, 0}, 0x0000FF, 0xFEFF00},
        {{0, 0, 0}, 0xFF0000, 0x00FFFF},
        {{0, 0, 0}, 0x00FFFF, 0xFF0000},
        {{0, 0, 0}, 0xC86432, 0x3295C8},
        {{250, 0, 0}, 0x0000FF, 0xFF0000},
        // Value at full strength.
        {{150, 0, 300}, 0x404040, 0xC4C4C4},
        {{150, 0, 300}, 0xC86432, 0xF87C3E},
        {{150, 0, 300}, 0x000000, 0x000000},
        {{150, 0, 300}, 0xFFFFFF, 0xFFFFFF},
        // Value 50 takes 1 to just below 1.
        {{150, 0, 50}, 0xFFFFFF, 0xFEFEFE},
        {{150, 0, 50}, 0xFF0000, 0xFE0000},
        {{150, 0, 50}, 0xFF8040, 0xFE7F3F},
        // Mixed settings.
        {{150, 150, 150}, 0xC86432, 0xE15F1E},
        {{150, 150, 150}, 0x404040, 0x6A6A6A},
        {{200, 100, 50}, 0xC86432, 0x93C928},
    };
    for (const auto& c : cases) {
        const Pixel32 got = transformPixel(coefficients(c.params), c.in);
        EXPECT_EQ(got, c.out) << std::hex << c.in << " at " << std::dec << c.params.hue << "," << c.params.saturation
                              << "," << c.params.value << " gave " << std::hex << got;
    }
}

TEST(HsvPixel, ValuePositionsThatTakeWhiteBelowOne) {
    const std::set<std::int32_t> belowOne = {2,   3,   9,   13,  18,  23,  30,  49,  50,  52,  54,  59,
                                             62,  73,  74,  78,  83,  84,  86,  97,  101, 108, 113, 115,
                                             119, 120, 127, 128, 132, 135, 137, 138, 145, 151, 161, 165,
                                             173, 174, 175, 176, 177, 214, 219, 228, 276, 277, 281, 287};
    ASSERT_EQ(belowOne.size(), 48u);
    for (std::int32_t value = 0; value <= 300; ++value) {
        const Pixel32 expected = belowOne.count(value) ? 0xFEFEFEu : 0xFFFFFFu;
        EXPECT_EQ(transformPixel(coefficients({150, 0, value}), 0xFFFFFFu), expected) << value;
    }
}

TEST(HsvPixel, DefaultsOverTheWholeCube) {
    // One maximum channel always comes back unchanged, the others equal or
    // one lower; exactly 9 709 669 colours change.
    const Coefficients c = coefficients(kDefaults);
    long changed = 0;
    for (Pixel32 p = 0; p < (1u << 24); ++p) {
        const Pixel32 out = transformPixel(c, p | 0x5A000000u);
        if (out == p) continue;
        ++changed;
        const int in[3] = {redOf(p), greenOf(p), blueOf(p)};
        const int got[3] = {redOf(out), greenOf(out), blueOf(out)};
        const int max = std::max({in[0], in[1], in[2]});
        bool maxKept = false;
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(got[i] == in[i] || got[i] == in[i] - 1) << std::hex << p;
            if (in[i] == max && got[i] == max) maxKept = true;
        }
        ASSERT_TRUE(maxKept) << std::hex << p;
        ASSERT_EQ(out >> 24, 0u);
    }
    EXPECT_EQ(changed, 9709669);
}

}  // namespace
}  // namespace sorvel::hsv
