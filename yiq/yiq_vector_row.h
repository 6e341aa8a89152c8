// The YIQ pixel arithmetic on vectors of pixels, one pixel per lane, with
// every operation and every rounding to single in the order of the scalar
// transformPixel, so that each lane gets the same bits. A product of two
// singles rounded to single is computed as the single operation: doubles
// carry more than twice the bits of a single, so rounding the double result
// to single gives the correctly rounded single result. Included by the
// kernel translation units with the operations V of their instruction set
// (core/simd_sse2.h, core/simd_avx2.h).
#pragma once

#include "core/simd_row.h"
#include "yiq/yiq_constants.h"
#include "yiq/yiq_transform.h"

namespace sorvel::yiq {

template <class V>
struct VectorCoefficients {
    explicit VectorCoefficients(const Coefficients& c)
        : kY(V::splat(c.kY)), kY1(V::splat(c.kY1)), kC(V::splat(c.kC)), kC1(V::splat(c.kC1)), fI(V::splatS(c.fI)),
          fQ(V::splatS(c.fQ)), curvesLuma(c.kY != 0.0f) {}
    typename V::D kY, kY1, kC, kC1;
    typename V::S fI, fQ;
    // Whether the luma curve changes anything: with strength 0 (and so
    // strength + 1 = 1) Y / (|Y| * 0 + 1) * 1 is Y itself.
    bool curvesLuma;
};

// The singles one run hands from stage to stage, in pixel order.
template <class V>
struct RunSingles {
    alignas(32) float a[V::kLanes], b[V::kLanes], c[V::kLanes], d[V::kLanes];
};

// Stage 1: the byte fractions of red, green and blue, and which pixels are
// black (all colour bytes 0). The later stages keep the divider busy, so
// the fractions take none of it.
template <class V>
typename V::I fractions(typename V::I pixels, RunSingles<V>& out) {
    const typename V::I byteMask = V::splat(0xFF);
    const auto fraction = [](typename V::I byte) { return simd::byteFractionByMultiplication<V>(byte); };
    V::storeF(out.a, fraction(V::andI(V::template shiftRight<16>(pixels), byteMask)));
    V::storeF(out.b, fraction(V::andI(V::template shiftRight<8>(pixels), byteMask)));
    V::storeF(out.c, fraction(V::andI(pixels, byteMask)));
    return V::equalI(V::andI(pixels, V::splat(0xFFFFFF)), V::splat(0));
}

// Stage 2: luma Y and the balanced relative chroma I and Q, from the
// fractions (a, b, c = red, green, blue) into (a, b, d = I, Q, Y).
template <class V>
void lumaChroma(const VectorCoefficients<V>& k, RunSingles<V>& run) {
    using D = typename V::D;
    namespace c = constants;
    const auto splat = [](double v) { return V::splat(v); };
    const D r = V::widenFrom(run.a), g = V::widenFrom(run.b), b = V::widenFrom(run.c);
    const D sum = V::add(V::add(V::mul(b, splat(c::kYb)), V::mul(g, splat(c::kYg))), V::mul(r, splat(c::kYr)));
    // Only a black pixel has Y = 0 (any other colour has Y >= 0.114 / 255);
    // it is written as 0 in the end, and a small Y keeps its lanes free of
    // exceptions.
    const typename V::S y = V::narrowS(V::max(sum, splat(0x1p-16)));
    V::storeS(run.d, y);
    const D iNumerator = V::sub(V::sub(V::mul(r, splat(c::kIr)), V::mul(g, splat(c::kIg))), V::mul(b, splat(c::kIb)));
    const D qNumerator = V::add(V::sub(V::mul(r, splat(c::kQr)), V::mul(g, splat(c::kQg))), V::mul(b, splat(c::kQb)));
    // Multiplying by 1 / Y instead of dividing by Y rounds to the same
    // singles here: the quotients depend on the colour alone, and the
    // exhaustive check compares every colour with the scalar division.
    const D reciprocal = V::div(splat(1.0), V::widenS(y));
    V::storeS(run.a, V::mulS(V::narrowS(V::mul(iNumerator, reciprocal)), k.fI));
    V::storeS(run.b, V::mulS(V::narrowS(V::mul(qNumerator, reciprocal)), k.fQ));
}

// Stage 3: each channel's chroma term and the curved luma Yc, into (a, b,
// c, d = red, green, blue terms, Yc).
template <class V>
void terms(const VectorCoefficients<V>& k, RunSingles<V>& run) {
    using D = typename V::D;
    namespace c = constants;
    const auto splat = [](double v) { return V::splat(v); };
    const D iB = V::widenFrom(run.a), qB = V::widenFrom(run.b), y = V::widenFrom(run.d);
    V::narrowTo(run.a, V::add(V::mul(qB, splat(c::kRedQ)), V::mul(iB, splat(c::kRedI))));
    V::narrowTo(run.b, V::sub(V::mul(iB, splat(c::kGreenI)), V::mul(qB, splat(c::kGreenQ))));
    V::narrowTo(run.c, V::sub(V::mul(qB, splat(c::kBlueQ)), V::mul(iB, splat(c::kBlueI))));
    const D curved = k.curvesLuma ? V::mul(V::div(y, V::add(V::mul(V::abs(y), k.kY), splat(1.0))), k.kY1) : y;
    V::narrowTo(run.d, V::mul(curved, splat(c::kLumaScale)));
}

// (1 + gain(kC, c)) * Yc for a vector of chroma terms, not rounded.
template <class V>
typename V::D channelValue(const float* term, const VectorCoefficients<V>& k, typename V::D yc) {
    const typename V::D one = V::splat(1.0);
    const typename V::D c = V::widenFrom(term);
    const typename V::D bent = V::div(c, V::add(V::mul(V::abs(c), k.kC), one));
    return V::mul(V::add(V::mul(bent, k.kC1), one), yc);
}

// Stage 4: the output pixels from the terms and Yc, black where the source
// was.
template <class V>
typename V::I outputPixels(const VectorCoefficients<V>& k, const RunSingles<V>& run, typename V::I black) {
    const typename V::D yc = V::widenFrom(run.d);
    const typename V::I out = simd::channelBytes<V>(channelValue<V>(run.a, k, yc), channelValue<V>(run.b, k, yc),
                                                    channelValue<V>(run.c, k, yc));
    return V::andNotI(black, out);
}

template <class V>
void transformRowWith(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    constexpr int kMaxRuns = 16;
    const VectorCoefficients<V> k(c);
    simd::forEachChunk<V, kMaxRuns>(src, dst, width, [&k](const unsigned char* s, unsigned char* d, int runs) {
        RunSingles<V> singles[kMaxRuns];
        typename V::I black[kMaxRuns];
        for (int i = 0; i < runs; ++i) black[i] = fractions<V>(V::loadPixels(s + 4 * V::kLanes * i), singles[i]);
        for (int i = 0; i < runs; ++i) lumaChroma<V>(k, singles[i]);
        for (int i = 0; i < runs; ++i) terms<V>(k, singles[i]);
        for (int i = 0; i < runs; ++i) V::storePixels(d + 4 * V::kLanes * i, outputPixels<V>(k, singles[i], black[i]));
    });
}

}  // namespace sorvel::yiq
