// The YIQ pixel arithmetic on vectors of pixels, one pixel per lane, with
// every operation and every rounding to single in the order of the scalar
// transformPixel, so that each lane gets the same bits. A sum, difference,
// product or quotient of two singles rounded to single is computed as the
// single operation: doubles carry more than twice the bits of a single, so
// rounding the double result to single gives the correctly rounded single
// result. Included by the kernel translation units with the operations V of
// their instruction set (core/simd_sse2.h, core/simd_avx2.h).
#pragma once

#include "core/simd_row.h"
#include "yiq/yiq_constants.h"
#include "yiq/yiq_transform.h"

namespace sorvel::yiq {

template <class V>
struct VectorCoefficients {
    explicit VectorCoefficients(const Coefficients& c)
        : kY(V::splat(c.kY)), kY1(V::splat(c.kY1)), kC(V::splat(c.kC)), kC1(V::splat(c.kC1)),
          fI(V::splatF(c.fI)), fQ(V::splatF(c.fQ)) {}
    typename V::D kY, kY1, kC, kC1;
    typename V::F fI, fQ;
};

// Luma and relative chroma of one run, after the first stage.
template <class V>
struct LumaChroma {
    typename V::F y, iY, qY;
    typename V::I black;  // all bits set for a pixel whose colour bytes are 0
};

// The curved luma and each channel's chroma term, after the second stage.
template <class V>
struct Terms {
    typename V::F yc, red, green, blue;
};

template <class V>
LumaChroma<V> lumaChroma(typename V::I pixels) {
    using D = typename V::D;
    namespace c = constants;
    const auto splat = [](double v) { return V::splat(v); };
    const typename V::I byteMask = V::splat(0xFF);
    const D r = V::widen(simd::byteFraction<V>(V::andI(V::template shiftRight<16>(pixels), byteMask)));
    const D g = V::widen(simd::byteFraction<V>(V::andI(V::template shiftRight<8>(pixels), byteMask)));
    const D b = V::widen(simd::byteFraction<V>(V::andI(pixels, byteMask)));

    LumaChroma<V> out;
    out.y = V::narrow(V::add(V::add(V::mul(b, splat(c::kYb)), V::mul(g, splat(c::kYg))), V::mul(r, splat(c::kYr))));
    // Only a black pixel has Y = 0; it is written as 0 in the end, and
    // dividing its lanes by 1 instead keeps them free of exceptions.
    const D divisor = V::widen(V::selectF(V::equalF(out.y, V::splatF(0.0f)), V::splatF(1.0f), out.y));
    const D iNumerator =
        V::sub(V::sub(V::mul(r, splat(c::kIr)), V::mul(g, splat(c::kIg))), V::mul(b, splat(c::kIb)));
    const D qNumerator =
        V::add(V::sub(V::mul(r, splat(c::kQr)), V::mul(g, splat(c::kQg))), V::mul(b, splat(c::kQb)));
    out.iY = V::narrow(V::div(iNumerator, divisor));
    out.qY = V::narrow(V::div(qNumerator, divisor));
    out.black = V::equalI(V::andI(pixels, V::splat(0xFFFFFF)), V::splat(0));
    return out;
}

template <class V>
Terms<V> terms(const VectorCoefficients<V>& k, const LumaChroma<V>& in) {
    using D = typename V::D;
    namespace c = constants;
    const auto splat = [](double v) { return V::splat(v); };
    const D y = V::widen(in.y);
    const D iB = V::widen(V::mulF(in.iY, k.fI));
    const D qB = V::widen(V::mulF(in.qY, k.fQ));
    Terms<V> out;
    out.yc = V::narrow(V::mul(V::mul(V::div(y, V::add(V::mul(V::abs(y), k.kY), splat(1.0))), k.kY1),
                              splat(c::kLumaScale)));
    out.red = V::narrow(V::add(V::mul(qB, splat(c::kRedQ)), V::mul(iB, splat(c::kRedI))));
    out.green = V::narrow(V::sub(V::mul(iB, splat(c::kGreenI)), V::mul(qB, splat(c::kGreenQ))));
    out.blue = V::narrow(V::sub(V::mul(qB, splat(c::kBlueQ)), V::mul(iB, splat(c::kBlueI))));
    return out;
}

// (1 + gain(kC, c)) * Yc for a vector of chroma terms, not rounded.
template <class V>
typename V::D channelValue(typename V::F term, const VectorCoefficients<V>& k, typename V::D yc) {
    const typename V::D one = V::splat(1.0);
    const typename V::D c = V::widen(term);
    const typename V::D bent = V::div(c, V::add(V::mul(V::abs(c), k.kC), one));
    return V::mul(V::add(V::mul(bent, k.kC1), one), yc);
}

template <class V>
typename V::I outputPixels(const VectorCoefficients<V>& k, const Terms<V>& in, typename V::I black) {
    const typename V::D yc = V::widen(in.yc);
    const typename V::I out = simd::channelBytes<V>(channelValue<V>(in.red, k, yc), channelValue<V>(in.green, k, yc),
                                                    channelValue<V>(in.blue, k, yc));
    return V::andNotI(black, out);
}

template <class V>
void transformRowWith(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    constexpr int kMaxRuns = 16;
    const VectorCoefficients<V> k(c);
    simd::forEachChunk<V, kMaxRuns>(src, dst, width, [&k](const unsigned char* s, unsigned char* d, int runs) {
        LumaChroma<V> first[kMaxRuns];
        Terms<V> second[kMaxRuns];
        for (int i = 0; i < runs; ++i) first[i] = lumaChroma<V>(V::loadPixels(s + 4 * V::kLanes * i));
        for (int i = 0; i < runs; ++i) second[i] = terms<V>(k, first[i]);
        for (int i = 0; i < runs; ++i)
            V::storePixels(d + 4 * V::kLanes * i, outputPixels<V>(k, second[i], first[i].black));
    });
}

}  // namespace sorvel::yiq
