#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "decimal_match.h"
#include "yiq/yiq_transform.h"

namespace sorvel::yiq {
namespace {

using test::matchesDecimal;

struct CoefficientCase {
    Params params;
    const char* fI;
    const char* fQ;
};

TEST(YiqCoefficients, BalanceFactorsMatchWorkedValues) {
    const CoefficientCase cases[] = {
        {{150, 0, 0}, "1", "1"},
        {{150, 0, 300}, "1", "1"},
        {{0, 0, 300}, "0.11273973", "8.8699875"},
        {{0, 0, 0}, "2744943.75", "3.6430620e-7"},
        {{300, 0, 0}, "3.6430640e-7", "2744942.25"},
        {{149, 0, 0}, "1.1038839", "0.90589237"},
    };
    for (const auto& c : cases) {
        const Coefficients k = coefficients(c.params);
        EXPECT_TRUE(matchesDecimal(k.fI, c.fI)) << c.params.balance << "/" << c.params.saturation << " fI=" << k.fI;
        EXPECT_TRUE(matchesDecimal(k.fQ, c.fQ)) << c.params.balance << "/" << c.params.saturation << " fQ=" << k.fQ;
    }
}

TEST(YiqCoefficients, BalanceFactorsEqualTheLibraryPowOverTheDialogRange) {
    // u - 1 = (balance - 150) / 151 up to rounding; the factors are kC to the
    // powers u - 1 and 1 - u, rounded to single. The C library's pow is the
    // reference here.
    for (std::int32_t saturation = 0; saturation <= 300; ++saturation)
        for (std::int32_t balance = 0; balance <= 300; ++balance) {
            const Coefficients k = coefficients({balance, 0, saturation});
            const double u = static_cast<float>(2.0 * (balance + 1) / 302.0);
            ASSERT_EQ(k.fI, static_cast<float>(std::pow(static_cast<double>(k.kC), u - 1.0)))
                << balance << "/" << saturation;
            ASSERT_EQ(k.fQ, static_cast<float>(std::pow(static_cast<double>(k.kC), 1.0 - u)))
                << balance << "/" << saturation;
        }
}

TEST(YiqCoefficients, CurveStrengths) {
    struct Row {
        std::int32_t saturation;
        const char* kC;
    } rows[] = {{0, "3.3002209e-7"}, {143, "0.98544079"}, {144, "1.0061136"}, {300, "9"}};
    for (const auto& r : rows)
        EXPECT_TRUE(matchesDecimal(coefficients({150, 0, r.saturation}).kC, r.kC)) << r.saturation;

    EXPECT_TRUE(matchesDecimal(coefficients({150, 0, 0}).kC1, "1.0000004"));
    const Coefficients full = coefficients({150, 300, 300});
    EXPECT_EQ(full.kY, 9.0f);
    EXPECT_EQ(full.kY1, 10.0f);
    EXPECT_EQ(full.kC, 9.0f);
    EXPECT_EQ(full.kC1, 10.0f);
    EXPECT_EQ(coefficients({150, 0, 0}).kY, 0.0f);
}

struct PixelCase {
    Params params;
    Pixel32 in;
    Pixel32 out;
};

TEST(YiqPixel, WorkedExamplesAndEdgeValues) {
    const PixelCase cases[] = {
        // Defaults: mostly the identity, a few saturated colours move by one step.
        {{150, 0, 0}, 0x00336699, 0x00336699},
        {{150, 0, 0}, 0x00FF0000, 0x00FF0000},
        {{150, 0, 0}, 0x0000F700, 0x0000F800},
        {{150, 0, 0}, 0x00F40000, 0x00F50000},
        {{150, 0, 0}, 0xFF336699, 0x00336699},
        // Black, whatever the parameters and the top byte.
        {{150, 0, 0}, 0x00000000, 0x00000000},
        {{150, 0, 0}, 0x7F000000, 0x00000000},
        {{0, 300, 300}, 0xFF000000, 0x00000000},
        // Both curves at full strength.
        {{150, 300, 300}, 0x00808080, 0x00E8E8E8},
        {{150, 300, 300}, 0x00336699, 0x0017FFFF},
        // Balance at one end.
        {{0, 0, 300}, 0x00336699, 0x00A411B8},
        {{300, 0, 0}, 0x00808080, 0x007D8377},
    };
    for (const auto& c : cases) {
        const Pixel32 got = transformPixel(coefficients(c.params), c.in);
        EXPECT_EQ(got, c.out) << std::hex << c.in << " at " << std::dec << c.params.balance << "," << c.params.intensity
                              << "," << c.params.saturation << " gave " << std::hex << got;
    }
}

TEST(YiqPixel, IntensityCurveOnGreys) {
    struct Row {
        std::int32_t intensity;
        int out[6];
    } rows[] = {{300, {9, 102, 197, 232, 247, 255}}, {150, {2, 31, 106, 174, 221, 255}}};
    const int levels[6] = {1, 16, 64, 128, 192, 255};
    for (const auto& r : rows) {
        const Coefficients k = coefficients({150, r.intensity, 0});
        for (int i = 0; i < 6; ++i) {
            const Pixel32 grey = static_cast<Pixel32>(levels[i]) * 0x010101u;
            EXPECT_EQ(transformPixel(k, grey), static_cast<Pixel32>(r.out[i]) * 0x010101u)
                << "intensity " << r.intensity << " level " << levels[i];
        }
    }
}

TEST(YiqPixel, DefaultsKeepEveryGrey) {
    const Coefficients k = coefficients(kDefaults);
    for (Pixel32 n = 0; n < 256; ++n) EXPECT_EQ(transformPixel(k, n * 0x010101u), n * 0x010101u);
}

TEST(YiqPixel, TopByteIsIgnoredAndWrittenAsZero) {
    const Coefficients k = coefficients({100, 200, 250});
    for (Pixel32 colour : {0x00336699u, 0x00FFFFFFu, 0x00010203u, 0x00800000u})
        for (Pixel32 top : {0x01u, 0x7Fu, 0x80u, 0xFFu}) {
            const Pixel32 got = transformPixel(k, colour | (top << 24));
            EXPECT_EQ(got, transformPixel(k, colour));
            EXPECT_EQ(got >> 24, 0u);
        }
}

}  // namespace
}  // namespace sorvel::yiq
