// The frei0r wrapper's own logic: slider positions from fractions, alpha
// carried through, frames of any size rendered in bands, in place, under the
// host's floating-point environment.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "frei0r/alpha.h"
#include "frei0r/filter_instance.h"
#include "frei0r/parameter_scale.h"
#include "frei0r/tests/expected_frames.h"

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace sorvel::frei0r {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PositionFromFraction, RoundsAndClamps) {
    struct Case {
        double fraction;
        std::int32_t position;
    };
    // clang-format off
    const Case cases[] = {
        {0.0, 0},          {-0.0, 0},         {1.0, 300},         {0.5, 150},
        {0.25, 75},        {0.999, 300},      {0.001, 0},         {0.0016, 0},  // 0.48
        {0.0017, 1},       {1.0 / 600, 1},    {0.1, 30},          {1.0 / 3, 100},
        {2.0 / 3, 200},    {-0.2, 0},         {1.5, 300},         {1e300, 300},
        {-1e300, 0},       {kInf, 300},       {-kInf, 0},         {5e-324, 0},
        {std::nextafter(1.0, 0.0), 300},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(positionFromFraction(c.fraction), c.position) << c.fraction;
    }
    EXPECT_FALSE(positionFromFraction(kNaN).has_value());
    EXPECT_FALSE(positionFromFraction(-kNaN).has_value());
}

TEST(PositionFromFraction, EveryPositionSurvivesTheRoundTrip) {
    for (std::int32_t p = 0; p <= kSliderMax; ++p) {
        const double f = fractionFromPosition(p);
        EXPECT_EQ(f, p / 300.0);
        EXPECT_EQ(positionFromFraction(f), p);
        // A host that keeps only single precision still lands on the position.
        EXPECT_EQ(positionFromFraction(static_cast<float>(f)), p);
    }
}

TEST(PositionFromFraction, IsMonotonicOverAFineSweep) {
    std::int32_t last = 0;
    for (int i = 0; i <= 300000; ++i) {
        const std::int32_t p = *positionFromFraction(i / 300000.0);
        EXPECT_TRUE(p == last || p == last + 1) << i;
        // The nearest position: never more than half a step away.
        EXPECT_LE(std::fabs(p - i / 1000.0), 0.5) << i;
        last = p;
    }
    EXPECT_EQ(last, 300);
}

TEST(CarryAlpha, TakesColourFromRenderedAndAlphaFromSource) {
    const std::uint32_t source[] = {0xFF000000u, 0x00FFFFFFu, 0x80123456u, 0x7F000000u};
    const std::uint32_t rendered[] = {0x00ABCDEFu, 0xAA000000u, 0x00654321u, 0x00000000u};
    const std::uint32_t expected[] = {0xFFABCDEFu, 0x00000000u, 0x80654321u, 0x7F000000u};
    std::uint32_t out[4] = {};
    carryAlpha(source, rendered, out, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], expected[i]) << i;

    std::uint32_t inPlace[4] = {source[0], source[1], source[2], source[3]};
    carryAlpha(inPlace, rendered, inPlace, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(inPlace[i], expected[i]) << i;
}

template <class Filter>
std::unique_ptr<FilterInstance<Filter>> instanceWith(unsigned w, unsigned h, double a, double b, double c) {
    auto inst = FilterInstance<Filter>::create(w, h);
    inst->setParameter(0, a);
    inst->setParameter(1, b);
    inst->setParameter(2, c);
    return inst;
}

// Worked values of the three filters, reached through fractions and with
// alpha in the top byte.
TEST(FilterInstance, WorkedValuesThroughFractions) {
    struct Case {
        const char* filter;
        double a, b, c;
        std::uint32_t in, out;
    };
    const Case cases[] = {
        {"yiq", 0.5, 1.0, 1.0, 0x80336699u, 0x8017FFFFu},
        {"yiq", 0.5, 0.0, 0.0, 0xFF336699u, 0xFF336699u},
        {"yiq", 0.5, 1.0, 1.0, 0x3A808080u, 0x3AE8E8E8u},
        {"yiq", 0.5, 0.0, 0.0, 0x7F000000u, 0x7F000000u},
        {"rgb", 1.0, 0.5, 0.0, 0xFF808080u, 0xFFE8AE80u},
        {"rgb", 1.0, 0.5, 0.0, 0x01204060u, 0x01966A60u},
        {"hsv", 0.5, 1.0, 0.0, 0x40C86432u, 0x40C84606u},
        {"hsv", 1.0, 0.0, 0.0, 0xC0FF0000u, 0xC000FFFFu},
        {"hsv", 0.0, 0.0, 0.0, 0x00C86432u, 0x003295C8u},
        {"hsv", 0.5, 0.0, 1.0 / 6, 0xFFFFFFFFu, 0xFFFEFEFEu},
        {"hsv", 2.0 / 3, 1.0 / 3, 1.0 / 6, 0x99C86432u, 0x9993C928u},
    };
    for (const Case& c : cases) {
        std::uint32_t out = 0;
        const std::string_view f = c.filter;
        if (f == "yiq") instanceWith<YiqFilter>(1, 1, c.a, c.b, c.c)->update(&c.in, &out);
        if (f == "rgb") instanceWith<RgbFilter>(1, 1, c.a, c.b, c.c)->update(&c.in, &out);
        if (f == "hsv") instanceWith<HsvFilter>(1, 1, c.a, c.b, c.c)->update(&c.in, &out);
        EXPECT_EQ(out, c.out) << c.filter << std::hex << " 0x" << c.in;
    }
}

TEST(FilterInstance, StartsAtTheFilterDefaults) {
    const auto yiq = FilterInstance<YiqFilter>::create(8, 8);
    const auto rgb = FilterInstance<RgbFilter>::create(8, 8);
    const auto hsv = FilterInstance<HsvFilter>::create(8, 8);
    const double expected[3][3] = {{0.5, 0, 0}, {0, 0, 0}, {0.5, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(yiq->parameter(i), expected[0][i]);
        EXPECT_EQ(rgb->parameter(i), expected[1][i]);
        EXPECT_EQ(hsv->parameter(i), expected[2][i]);
    }
}

TEST(FilterInstance, ParametersKeepTheirOrderAndIgnoreNaNAndBadIndices) {
    auto inst = FilterInstance<YiqFilter>::create(4, 4);
    inst->setParameter(0, 0.1);
    inst->setParameter(1, 0.2);
    inst->setParameter(2, 7.0);
    EXPECT_EQ(inst->params().balance, 30);
    EXPECT_EQ(inst->params().intensity, 60);
    EXPECT_EQ(inst->params().saturation, 300);
    inst->setParameter(1, kNaN);
    inst->setParameter(3, 0.9);
    inst->setParameter(-1, 0.9);
    EXPECT_EQ(inst->params().intensity, 60);
    EXPECT_EQ(inst->parameter(1), 0.2);
    EXPECT_EQ(inst->parameter(2), 1.0);
    EXPECT_FALSE(inst->parameter(3).has_value());
    EXPECT_FALSE(inst->parameter(-1).has_value());
}

TEST(FilterInstance, AnySizeRendersEveryPixelOnceInPlaceOrNot) {
    // Widths around the band size, odd sizes, single rows and columns.
    const unsigned sizes[][2] = {{1, 1},     {7, 3},     {3, 7},    {1, 40000}, {40000, 1},
                                 {16384, 2}, {16385, 3}, {8193, 5}, {100, 333}, {2048, 9}};
    for (const auto& s : sizes) {
        const std::size_t n = std::size_t{s[0]} * s[1];
        const std::vector<std::uint32_t> in = test::mixedFrame(n);
        auto inst = instanceWith<HsvFilter>(s[0], s[1], 0.7, 0.4, 0.9);
        const std::vector<std::uint32_t> expected = test::expectedFrame<hsv::Coefficients>(hsv::Params{210, 120, 270},
                                                                                           in);

        std::vector<std::uint32_t> out(n + 1, 0xDEADBEEFu);
        inst->update(in.data(), out.data());
        EXPECT_EQ(out.back(), 0xDEADBEEFu) << "wrote past the frame";
        out.pop_back();
        EXPECT_EQ(out, expected) << s[0] << "x" << s[1];

        std::vector<std::uint32_t> frame = in;
        inst->update(frame.data(), frame.data());
        EXPECT_EQ(frame, expected) << "in place " << s[0] << "x" << s[1];
    }
}

TEST(FilterInstance, EmptyAndImpossibleSizes) {
    std::uint32_t pixel = 0x12345678u;
    for (const auto& s : {std::pair{0u, 5u}, std::pair{5u, 0u}, std::pair{0u, 0u}}) {
        auto inst = FilterInstance<RgbFilter>::create(s.first, s.second);
        ASSERT_NE(inst, nullptr);
        inst->update(&pixel, &pixel);
        EXPECT_EQ(pixel, 0x12345678u);
    }
    EXPECT_EQ(FilterInstance<RgbFilter>::create(kMaxWidth + 1, 1), nullptr);
    EXPECT_EQ(FilterInstance<RgbFilter>::create(1, kMaxHeight + 1u), nullptr);
    EXPECT_EQ(FilterInstance<RgbFilter>::create(UINT_MAX, UINT_MAX), nullptr);

    auto inst = FilterInstance<RgbFilter>::create(1, 1);
    inst->update(nullptr, &pixel);
    inst->update(&pixel, nullptr);
    EXPECT_EQ(pixel, 0x12345678u);
}

TEST(FilterInstance, InstancesDoNotShareParameters) {
    auto a = instanceWith<RgbFilter>(1, 1, 1.0, 0.5, 0.0);
    auto b = instanceWith<RgbFilter>(1, 1, 0.0, 0.0, 0.0);
    const std::uint32_t in = 0xFF808080u;
    std::uint32_t outA = 0, outB = 0;
    a->update(&in, &outA);
    b->update(&in, &outB);
    EXPECT_EQ(outA, 0xFFE8AE80u);
    EXPECT_EQ(outB, 0xFF808080u);
}

// A host running with another rounding mode (or flushing subnormals) gets
// the bits of the default environment, and its own environment back. These
// pixels come out differently when the core runs under one of the other
// rounding modes at these positions (found by a search of all colours).
TEST(FilterInstance, RendersUnderTheDefaultFloatEnvAndRestoresTheHosts) {
    const std::vector<std::uint32_t> yiqIn = {0x1100025Au, 0x22032A9Eu, 0x3300426Fu, 0x44014137u, 0x55003245u};
    const std::vector<std::uint32_t> hsvIn = {0x660000FFu, 0x770001FFu, 0x880004FFu, 0x990005FFu};
    const yiq::Params yiqParams{90, 180, 240};
    const hsv::Params hsvParams{210, 120, 270};
    const std::vector<std::uint32_t> yiqExpected = test::expectedFrame<yiq::Coefficients>(yiqParams, yiqIn);
    const std::vector<std::uint32_t> hsvExpected = test::expectedFrame<hsv::Coefficients>(hsvParams, hsvIn);
    auto yiqInst = instanceWith<YiqFilter>(5, 1, 0.3, 0.6, 0.8);
    auto hsvInst = instanceWith<HsvFilter>(2, 2, 0.7, 0.4, 0.9);

    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
#if defined(__SSE__)
        const unsigned hostCsr = _mm_getcsr() | 0x8040u;  // flush to zero, subnormals are zero
        _mm_setcsr(hostCsr);
#endif
        // The fixture is sensitive: the bare core gives other bits here.
        EXPECT_TRUE(test::expectedFrame<yiq::Coefficients>(yiqParams, yiqIn) != yiqExpected ||
                    test::expectedFrame<hsv::Coefficients>(hsvParams, hsvIn) != hsvExpected)
            << "rounding mode " << mode;
        std::vector<std::uint32_t> yiqOut(yiqIn.size()), hsvOut(hsvIn.size());
        yiqInst->update(yiqIn.data(), yiqOut.data());
        hsvInst->update(hsvIn.data(), hsvOut.data());
        EXPECT_EQ(std::fegetround(), mode);
#if defined(__SSE__)
        EXPECT_EQ(_mm_getcsr() & 0xFFC0u, hostCsr & 0xFFC0u);
        _mm_setcsr(hostCsr & ~0x8040u);
#endif
        std::fesetround(FE_TONEAREST);
        EXPECT_EQ(yiqOut, yiqExpected) << "rounding mode " << mode;
        EXPECT_EQ(hsvOut, hsvExpected) << "rounding mode " << mode;
    }
}

}  // namespace
}  // namespace sorvel::frei0r
