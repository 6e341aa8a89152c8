#include "yiq/yiq_transform.h"

#include <cmath>

#include "core/accurate_pow.h"
#include "core/numeric.h"
#include "core/row_kernels.h"
#include "yiq/yiq_constants.h"
#include "yiq/yiq_kernels.h"

namespace sorvel::yiq {
namespace {

using namespace constants;

// Cube of a single-precision fraction times 9, rounded once at the end.
float strength(float f) {
    const double d = f;
    return single(((d * d) * d) * 9.0);
}

// (1 + gain(kC, c)) * Yc, in double precision and not rounded.
double channelValue(float term, const Coefficients& k, float yc) {
    const float magnitude = single(std::fabs(term));
    return ((term / (magnitude * static_cast<double>(k.kC) + 1.0)) * k.kC1 + 1.0) * yc;
}

}  // namespace

Coefficients coefficients(const Params& p) {
    Coefficients c;
    const float s = single(static_cast<double>(static_cast<float>(p.intensity)) / 300.0);
    c.kY = strength(s);
    c.kY1 = single(static_cast<double>(c.kY) + 1.0);

    const float t = single(static_cast<double>(static_cast<float>(wrappingAdd(p.saturation, 1))) / 301.0);
    c.kC = strength(t);
    c.kC1 = single(static_cast<double>(c.kC) + 1.0);

    const float u = single(2.0 * static_cast<double>(static_cast<float>(wrappingAdd(p.balance, 1))) / 302.0);
    // The powers come from a pow of our own that gives the same bits on every
    // platform; the runtime's pow would depend on the host's x87 settings.
    c.fI = single(accuratePow(static_cast<double>(c.kC), static_cast<double>(u) - 1.0));
    c.fQ = single(accuratePow(static_cast<double>(c.kC), 1.0 - static_cast<double>(u)));
    return c;
}

Pixel32 transformPixel(const Coefficients& k, Pixel32 source) {
    const int red = redOf(source), green = greenOf(source), blue = blueOf(source);
    if (red + green + blue == 0) return 0;

    const double r = single(red / 255.0);
    const double g = single(green / 255.0);
    const double b = single(blue / 255.0);

    const float y = single((b * kYb + g * kYg) + r * kYr);
    const float iY = single(((r * kIr - g * kIg) - b * kIb) / y);
    const float qY = single(((r * kQr - g * kQg) + b * kQb) / y);

    const float yMagnitude = single(std::fabs(y));
    const float yc = single(((y / (yMagnitude * static_cast<double>(k.kY) + 1.0)) * k.kY1) * kLumaScale);

    const double iB = single(static_cast<double>(iY) * k.fI);
    const double qB = single(static_cast<double>(qY) * k.fQ);

    const float redTerm = single(qB * kRedQ + iB * kRedI);
    const float greenTerm = single(iB * kGreenI - qB * kGreenQ);
    const float blueTerm = single(qB * kBlueQ - iB * kBlueI);

    return packRgb(channelByte(channelValue(redTerm, k, yc)), channelByte(channelValue(greenTerm, k, yc)),
                   channelByte(channelValue(blueTerm, k, yc)));
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

}  // namespace sorvel::yiq
