#include "hsv/hsv_transform.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "core/row_kernels.h"
#include "hsv/hsv_kernels.h"

namespace sorvel::hsv {
namespace {

float strength(std::int32_t parameter) {
    const double f = single(parameter / 300.0);
    return single(f * f * f * 9.0);
}

// single((x * k1) / (x * k + 1)).
float boost(float x, float k, float k1) {
    return single((static_cast<double>(x) * k1) / (static_cast<double>(x) * k + 1.0));
}

int toByte(float fraction) { return channelByte(static_cast<double>(fraction) * 255.0); }

// Hue in turns, [0, 1) for an in-range shift, of a pixel that is not grey.
float hueOf(int red, int green, int blue, int max, float d) {
    const double rf = single(red / 255.0);
    const double gf = single(green / 255.0);
    const double bf = single(blue / 255.0);
    float h;
    if (red == max)
        h = single((gf - bf) / d);
    else if (green == max)
        h = single((bf - rf) / d + 2.0);
    else
        h = single((rf - gf) / d + 4.0);
    h = single(h / 6.0);
    if (h < 0) h = single(h + 1.0);
    return h;
}

}  // namespace

Coefficients coefficients(const Params& p) {
    Coefficients c;
    c.hueShift = (static_cast<double>(p.hue) - 150.0) / 300.0;
    c.kS = strength(p.saturation);
    c.kS1 = single(static_cast<double>(c.kS) + 1.0);
    c.kV = strength(p.value);
    c.kV1 = single(static_cast<double>(c.kV) + 1.0);
    return c;
}

Pixel32 transformPixel(const Coefficients& c, Pixel32 source) {
    const int red = redOf(source), green = greenOf(source), blue = blueOf(source);
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});

    float v = single(max / 255.0);
    float s = 0;
    float h = 0;
    if (max != min) {
        const float d = single((max - min) / 255.0);
        s = single(static_cast<double>(d) / v);
        h = single(hueOf(red, green, blue, max, d) + c.hueShift);
        if (h < 0) h = single(h + 1.0);
        if (h >= 1) h = single(h - 1.0);
        s = boost(s, c.kS, c.kS1);
    }
    v = boost(v, c.kV, c.kV1);

    if (s == 0) return packRgb(toByte(v), toByte(v), toByte(v));

    const float x = single(static_cast<double>(h) * 6.0);
    const std::int32_t sector = truncToInt(std::floor(static_cast<double>(x)));
    const double f = single(static_cast<double>(x) - sector);
    const double sd = s;
    const float p = single((1.0 - sd) * v);
    const float q = single((1.0 - f * sd) * v);
    const float t = single((1.0 - (1.0 - f) * sd) * v);

    switch (sector) {
        case 0: return packRgb(toByte(v), toByte(t), toByte(p));
        case 1: return packRgb(toByte(q), toByte(v), toByte(p));
        case 2: return packRgb(toByte(p), toByte(v), toByte(t));
        case 3: return packRgb(toByte(p), toByte(q), toByte(v));
        case 4: return packRgb(toByte(t), toByte(p), toByte(v));
        default: return packRgb(toByte(v), toByte(p), toByte(q));
    }
}

void transformRow(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    for (int x = 0; x < width; ++x) storePixel(dst + 4 * x, transformPixel(c, loadPixel(src + 4 * x)));
}

void renderWith(Kernel kernel, const Params& params, const SourceImage& src, const DestImage& dst) {
#if SORVEL_X86_KERNELS
    const VectorRows<Coefficients> vector{transformRowSse2, transformRowAvx2};
#else
    const VectorRows<Coefficients> vector;
#endif
    renderRows(coefficients(params), rowFunctionFor(kernel, transformRow, vector), src, dst);
}

void render(const Params& params, const SourceImage& src, const DestImage& dst) {
    renderWith(fastestKernel(kKernels), params, src, dst);
}

}  // namespace sorvel::hsv
