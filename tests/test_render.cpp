// Frame walking shared by the three filters: pitch, in place, empty frames,
// and parameters that only a script can set.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel {
namespace {

struct YiqFilter {
    using Params = yiq::Params;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { yiq::render(p, s, d); }
    static Pixel32 pixel(const Params& p, Pixel32 in) { return yiq::transformPixel(yiq::coefficients(p), in); }
};
struct RgbFilter {
    using Params = rgb::Params;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { rgb::render(p, s, d); }
    static Pixel32 pixel(const Params& p, Pixel32 in) { return rgb::transformPixel(rgb::coefficients(p), in); }
};
struct HsvFilter {
    using Params = hsv::Params;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { hsv::render(p, s, d); }
    static Pixel32 pixel(const Params& p, Pixel32 in) { return hsv::transformPixel(hsv::coefficients(p), in); }
};

std::vector<Pixel32> randomPixels(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<Pixel32> v(n);
    for (auto& p : v) p = static_cast<Pixel32>(gen());
    return v;
}

template <class F>
class RenderTest : public ::testing::Test {};
using Filters = ::testing::Types<YiqFilter, RgbFilter, HsvFilter>;
TYPED_TEST_SUITE(RenderTest, Filters);

constexpr Pixel32 kUntouched = 0xDEADBEEF;

TYPED_TEST(RenderTest, EveryPixelAtItsPositionForAnyPitch) {
    const typename TypeParam::Params params{120, 200, 40};
    for (int width : {1, 3, 7, 17}) {
        const int height = 5;
        const int srcStride = width + 3, dstStride = width + 1;  // pixels, with padding
        const auto src = randomPixels(static_cast<std::size_t>(srcStride) * height, 7u + width);
        // Bottom-up destination: first row last in memory, negative pitch.
        std::vector<Pixel32> dst(static_cast<std::size_t>(dstStride * height), kUntouched);
        const SourceImage s{reinterpret_cast<const unsigned char*>(src.data()), width, height,
                            static_cast<std::ptrdiff_t>(srcStride * 4)};
        const DestImage d{reinterpret_cast<unsigned char*>(&dst[static_cast<std::size_t>(dstStride) * (height - 1)]),
                          -static_cast<std::ptrdiff_t>(dstStride * 4)};
        TypeParam::render(params, s, d);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < dstStride; ++x) {
                const Pixel32 got = dst[static_cast<std::size_t>(height - 1 - y) * dstStride + x];
                if (x < width)
                    ASSERT_EQ(got, TypeParam::pixel(params, src[static_cast<std::size_t>(y * srcStride + x)]))
                        << width << " " << x << "," << y;
                else
                    ASSERT_EQ(got, kUntouched) << "padding written at " << x << "," << y;
            }
    }
}

TYPED_TEST(RenderTest, InPlaceEqualsSeparateBuffers) {
    const typename TypeParam::Params params{40, 250, 260};
    const int width = 33, height = 4;
    const auto src = randomPixels(static_cast<std::size_t>(width) * height, 99);
    std::vector<Pixel32> separate(src.size()), inPlace = src;
    const std::ptrdiff_t pitch = width * 4;
    TypeParam::render(params, {reinterpret_cast<const unsigned char*>(src.data()), width, height, pitch},
                      {reinterpret_cast<unsigned char*>(separate.data()), pitch});
    TypeParam::render(params, {reinterpret_cast<const unsigned char*>(inPlace.data()), width, height, pitch},
                      {reinterpret_cast<unsigned char*>(inPlace.data()), pitch});
    EXPECT_EQ(inPlace, separate);
}

TYPED_TEST(RenderTest, EmptyFramesWriteNothing) {
    const typename TypeParam::Params params{150, 0, 0};
    const std::vector<Pixel32> src(16, 0x00123456);
    const struct { int w, h; } sizes[] = {{0, 4}, {4, 0}, {-1, 4}, {4, -3}, {0, 0}, {INT_MIN, 2}};
    for (const auto& size : sizes) {
        std::vector<Pixel32> dst(16, kUntouched);
        TypeParam::render(params, {reinterpret_cast<const unsigned char*>(src.data()), size.w, size.h, 16},
                          {reinterpret_cast<unsigned char*>(dst.data()), 16});
        EXPECT_EQ(dst, std::vector<Pixel32>(16, kUntouched)) << size.w << "x" << size.h;
    }
}

TYPED_TEST(RenderTest, ScriptParametersGiveCleanWords) {
    // Any int32 may come from a script: results stay packed bytes with a zero
    // top byte (the sanitizer build also checks that nothing is undefined).
    const std::int32_t values[] = {INT32_MIN, INT32_MIN + 1, -100000, -301, -151, -150,   -145,          -5,
                                   -1,        301,           400,     451,  1000, 100000, INT32_MAX - 1, INT32_MAX};
    const auto pixels = randomPixels(512, 3);
    for (std::int32_t a : values)
        for (std::int32_t b : {a, 0, 150, 300})
            for (std::int32_t c : {a, 0, 300}) {
                const typename TypeParam::Params params{a, b, c};
                for (Pixel32 p : pixels) ASSERT_EQ(TypeParam::pixel(params, p) >> 24, 0u);
                ASSERT_EQ(TypeParam::pixel(params, 0x00FFFFFF) >> 24, 0u);
            }
}

}  // namespace
}  // namespace sorvel
