// The HSV pixel arithmetic on vectors of pixels, one pixel per lane. Where
// the scalar transformPixel branches, every lane computes both sides and
// keeps its own; each operation and each rounding to single is the scalar
// one, so every lane gets the same bits. A sum, difference, product or
// quotient of two singles rounded to single is computed as the single
// operation: doubles carry more than twice the bits of a single, so
// rounding the double result to single gives the correctly rounded single
// result. Included by the kernel translation units with the operations V of
// their instruction set (core/simd_sse2.h, core/simd_avx2.h).
#pragma once

#include "core/simd_row.h"
#include "hsv/hsv_transform.h"

namespace sorvel::hsv {

template <class V>
struct VectorCoefficients {
    explicit VectorCoefficients(const Coefficients& c)
        : hueShift(V::splat(c.hueShift)), kS(V::splat(c.kS)), kS1(V::splat(c.kS1)), kV(V::splat(c.kV)),
          kV1(V::splat(c.kV1)) {}
    typename V::D hueShift, kS, kS1, kV, kV1;
};

// single((x * k1) / (x * k + 1)).
template <class V>
typename V::F boost(typename V::D x, typename V::D k, typename V::D k1) {
    return V::narrow(V::div(V::mul(x, k1), V::add(V::mul(x, k), V::splat(1.0))));
}

// Hue, saturation and value of one run, between the stages: after the turn
// of the hue, then after the boosts.
template <class V>
struct Hsv {
    typename V::F h, s, v;
    typename V::F grey;  // all bits set for a pixel with max = min
};

template <class V>
Hsv<V> turnedHsv(const VectorCoefficients<V>& k, typename V::I pixels) {
    using D = typename V::D;
    using F = typename V::F;
    using I = typename V::I;
    const F oneF = V::splatF(1.0f), zeroF = V::splatF(0.0f);

    const I byteMask = V::splat(0xFF);
    const I red = V::andI(V::template shiftRight<16>(pixels), byteMask);
    const I green = V::andI(V::template shiftRight<8>(pixels), byteMask);
    const I blue = V::andI(pixels, byteMask);
    const I max = V::maxByte(V::maxByte(red, green), blue);
    const I min = V::minByte(V::minByte(red, green), blue);

    Hsv<V> out;
    out.v = simd::byteFraction<V>(max);
    const F d = simd::byteFraction<V>(V::subI(max, min));
    // A grey pixel (max = min) keeps S = 0 and skips the hue; its lanes
    // divide by 1 instead of 0, which keeps them free of exceptions.
    out.grey = V::equalF(d, zeroF);
    const F safeD = V::selectF(out.grey, oneF, d);
    out.s = V::divF(d, V::selectF(out.grey, oneF, out.v));

    const D v = V::widen(out.v);
    const D rf = V::widen(simd::byteFraction<V>(red));
    const D gf = V::widen(simd::byteFraction<V>(green));
    const D bf = V::widen(simd::byteFraction<V>(blue));
    // The fractions of distinct bytes differ, so comparing them with V tells
    // which channel holds the maximum; red wins ties, then green.
    const D redMax = V::equal(rf, v);
    const D greenMax = V::andNotMask(redMax, V::equal(gf, v));
    const D numerator = V::select(redMax, V::sub(gf, bf), V::select(greenMax, V::sub(bf, rf), V::sub(rf, gf)));
    const D quotient = V::div(numerator, V::widen(safeD));
    const D sextant = V::select(greenMax, V::splat(2.0), V::splat(4.0));
    F h = V::narrow(V::select(redMax, quotient, V::add(quotient, sextant)));
    h = V::divF(h, V::splatF(6.0f));
    h = V::selectF(V::lessF(h, zeroF), V::addF(h, oneF), h);
    h = V::narrow(V::add(V::widen(h), k.hueShift));
    h = V::selectF(V::lessF(h, zeroF), V::addF(h, oneF), h);
    out.h = V::selectF(V::greaterEqualF(h, oneF), V::subF(h, oneF), h);
    return out;
}

template <class V>
void boost(const VectorCoefficients<V>& k, Hsv<V>& hsv) {
    hsv.s = V::selectF(hsv.grey, V::splatF(0.0f), boost<V>(V::widen(hsv.s), k.kS, k.kS1));
    hsv.v = boost<V>(V::widen(hsv.v), k.kV, k.kV1);
}

template <class V>
typename V::I outputPixels(const Hsv<V>& in) {
    using D = typename V::D;
    using F = typename V::F;
    const D one = V::splat(1.0);
    const F oneF = V::splatF(1.0f);
    // |X| stays below 2^31 for every hue parameter (|hueShift| < 2^31 / 300),
    // so the floor is that of the scalar path, sector index included, and
    // X minus its floor is exact in single precision.
    const F x = V::mulF(in.h, V::splatF(6.0f));
    const F sector = V::floorF(x);
    const D f = V::widen(V::subF(x, sector));
    const D s = V::widen(in.s), v = V::widen(in.v);
    const F p = V::narrow(V::mul(V::sub(one, s), v));
    const F q = V::narrow(V::mul(V::sub(one, V::mul(f, s)), v));
    const F t = V::narrow(V::mul(V::sub(one, V::mul(V::sub(one, f), s)), v));

    const F in0 = V::equalF(sector, V::splatF(0.0f)), in1 = V::equalF(sector, oneF);
    const F in2 = V::equalF(sector, V::splatF(2.0f)), in3 = V::equalF(sector, V::splatF(3.0f));
    const F in4 = V::equalF(sector, V::splatF(4.0f));  // anything else counts as sector 5
    const F achromatic = V::equalF(in.s, V::splatF(0.0f));
    const auto fraction = [&](F pick) {
        return V::mul(V::widen(V::selectF(achromatic, in.v, pick)), V::splat(255.0));
    };
    return simd::channelBytes<V>(
        fraction(V::selectF(in1, q, V::selectF(V::orMaskF(in2, in3), p, V::selectF(in4, t, in.v)))),
        fraction(V::selectF(in0, t, V::selectF(V::orMaskF(in1, in2), in.v, V::selectF(in3, q, p)))),
        fraction(V::selectF(V::orMaskF(in0, in1), p, V::selectF(in2, t, V::selectF(V::orMaskF(in3, in4), in.v, q)))));
}

template <class V>
void transformRowWith(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    constexpr int kMaxRuns = 16;
    const VectorCoefficients<V> k(c);
    simd::forEachChunk<V, kMaxRuns>(src, dst, width, [&k](const unsigned char* s, unsigned char* d, int runs) {
        Hsv<V> stage[kMaxRuns];
        for (int i = 0; i < runs; ++i) stage[i] = turnedHsv<V>(k, V::loadPixels(s + 4 * V::kLanes * i));
        for (int i = 0; i < runs; ++i) boost<V>(k, stage[i]);
        for (int i = 0; i < runs; ++i) V::storePixels(d + 4 * V::kLanes * i, outputPixels<V>(stage[i]));
    });
}

}  // namespace sorvel::hsv
