#include "rgb/rgb_transform.h"

#include "core/numeric.h"
#include "core/row_kernels.h"
#include "rgb/rgb_kernels.h"

namespace sorvel::rgb {
namespace {

constexpr float kByteScale = 0.003921569f;  // 1/255
constexpr float kOutputScale = 255.99f;     // makes 1.0 land on 255 after the floor

}  // namespace

Curve curveForGain(std::int32_t gain) {
    const double a = static_cast<double>(gain) * kGainScale;
    Curve c;
    c.k = single(((a * a) * a) * 9.0);
    c.k1 = single(static_cast<double>(c.k) + 1.0);
    return c;
}

int applyCurve(const Curve& c, int value) {
    const double x = value * static_cast<double>(kByteScale);
    const double numerator = (x * c.k1) * kOutputScale;
    const double denominator = x * c.k + 1.0;
    const double q = numerator / denominator;
    // For q in [0, 255) truncation is the floor; the comparisons also send
    // NaN to 0.
    if (q >= 255.0) return 255;
    return q > 0.0 ? static_cast<int>(q) : 0;
}

Coefficients coefficients(const Params& p) {
    return {curveForGain(p.red), curveForGain(p.green), curveForGain(p.blue)};
}

Pixel32 transformPixel(const Coefficients& c, Pixel32 source) {
    return packRgb(applyCurve(c.red, redOf(source)), applyCurve(c.green, greenOf(source)),
                   applyCurve(c.blue, blueOf(source)));
}

void transformRow(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    for (int x = 0; x < width; ++x) storePixel(dst + 4 * x, transformPixel(c, loadPixel(src + 4 * x)));
}

void renderWith(Kernel kernel, const Params& params, const SourceImage& src, const DestImage& dst) {
    const Coefficients c = coefficients(params);
#if SORVEL_X86_KERNELS
    if (kernel == Kernel::avx2 && kernelRuns(kernel)) {
        const CurveBytes bytes = curveBytes(c);
        renderRows(bytes, transformRowAvx2, src, dst);
        return;
    }
#endif
    if (kernel == Kernel::table) {
        const CurveTables tables = curveTables(c);
        renderRows(tables, transformRowFromTables, src, dst);
    } else {
        renderRows(c, transformRow, src, dst);
    }
}

void render(const Params& params, const SourceImage& src, const DestImage& dst) {
    renderWith(fastestKernel(kKernels), params, src, dst);
}

}  // namespace sorvel::rgb
