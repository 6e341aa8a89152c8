#include <gtest/gtest.h>

#include <cstdint>

#include "decimal_match.h"
#include "rgb/rgb_transform.h"

namespace sorvel::rgb {
namespace {

// floor(255.99 * x * (k + 1) / (k * x + 1)) with the exact x = v / 255 and
// k = 9 * (g / 300)^3 = g^3 / 3e6, in integers:
//   25599 * v * (g^3 + 3e6) / (100 * (g^3 * v + 765e6)).
// Valid where numerator and denominator are positive (gains -144 and up).
int exactCurve(std::int64_t gain, std::int64_t v) {
    const std::int64_t cube = gain * gain * gain;
    const std::int64_t numerator = 25599 * v * (cube + 3000000);
    const std::int64_t denominator = 100 * (cube * v + 765000000);
    return static_cast<int>(numerator / denominator);
}

TEST(RgbCurve, StrengthByGain) {
    struct Row {
        std::int32_t gain;
        const char* k;
    } rows[] = {{0, "0"}, {30, "0.009"}, {100, "0.3333333"}, {150, "1.125"}, {200, "2.6666667"}, {300, "9.000001"}};
    for (const auto& r : rows) EXPECT_TRUE(test::matchesDecimal(curveForGain(r.gain).k, r.k)) << r.gain;
}

TEST(RgbCurve, ValuesTable) {
    const int v[8] = {0, 1, 16, 32, 64, 128, 192, 255};
    struct Row {
        std::int32_t gain;
        int out[8];
    } rows[] = {
        {0, {0, 1, 16, 32, 64, 128, 192, 255}},    {30, {0, 1, 16, 32, 64, 129, 193, 255}},
        {100, {0, 1, 20, 41, 79, 146, 205, 255}},  {150, {0, 2, 31, 59, 106, 174, 221, 255}},
        {200, {0, 3, 50, 88, 141, 201, 234, 255}}, {300, {0, 9, 102, 150, 197, 232, 247, 255}},
    };
    for (const auto& r : rows) {
        const Curve c = curveForGain(r.gain);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(applyCurve(c, v[i]), r.out[i]) << r.gain << "/" << v[i];
    }
}

TEST(RgbCurve, SinglePrecisionTrapsAndScriptGains) {
    struct Row {
        std::int32_t gain;
        int in, out;
    } rows[] = {
        {28, 252, 252},  {56, 160, 163},                      // single precision would give 253, 164
        {1000, 1, 145},  {1000, 128, 255},                    // steeper than the dialog allows
        {-50, 128, 125}, {-50, 255, 255},  {-144, 255, 255},  // darkening
    };
    for (const auto& r : rows) EXPECT_EQ(applyCurve(curveForGain(r.gain), r.in), r.out) << r.gain;
}

TEST(RgbCurve, EqualsExactRationalFloorFromMinus144To5000) {
    for (std::int32_t gain = -144; gain <= 5000; ++gain) {
        const Curve c = curveForGain(gain);
        for (int v = 0; v < 256; ++v) {
            ASSERT_EQ(applyCurve(c, v), exactCurve(gain, v)) << "gain " << gain << " value " << v;
        }
    }
}

TEST(RgbCurve, StaysInByteRangeForEveryScriptGain) {
    // Below -144 the curve's denominator crosses zero inside the channel range.
    const std::int32_t gains[] = {-145, -146, -200, -300, -1000, -100000, INT32_MIN, INT32_MAX, 100000, 1 << 20};
    for (std::int32_t gain : gains) {
        const Curve c = curveForGain(gain);
        for (int v = 0; v < 256; ++v) {
            const int out = applyCurve(c, v);
            ASSERT_GE(out, 0) << gain << "/" << v;
            ASSERT_LE(out, 255) << gain << "/" << v;
        }
    }
}

TEST(RgbPixel, WorkedExample) {
    const Coefficients c = coefficients({300, 150, 0});
    EXPECT_EQ(transformPixel(c, 0xFF808080u), 0x00E8AE80u);
    EXPECT_EQ(transformPixel(c, 0x00204060u), 0x00966A60u);
}

TEST(RgbPixel, GainZeroIsTheIdentityOnEveryColour) {
    const Coefficients c = coefficients(kDefaults);
    for (Pixel32 p = 0; p < (1u << 24); ++p) {
        if (transformPixel(c, p | 0xA5000000u) != p) FAIL() << std::hex << p;
    }
}

}  // namespace
}  // namespace sorvel::rgb
