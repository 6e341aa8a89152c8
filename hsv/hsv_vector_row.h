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
          kV1(V::splat(c.kV1)), turns(c.hueShift != 0.0), boostsS(c.kS != 0.0f), boostsV(c.kV != 0.0f) {}
    typename V::D hueShift, kS, kS1, kV, kV1;
    // Whether the hue shift and the boosts change anything: a shift of 0
    // adds +0 to a hue that is never -0, and a boost of strength 0 gives
    // single((x * 1) / (x * 0 + 1)) = x for the finite fractions here.
    bool turns, boostsS, boostsV;
};

// The singles one run hands from stage to stage, in pixel order; each
// stage notes what its fields hold.
template <class V>
struct RunSingles {
    alignas(32) float s[V::kLanes], v[V::kLanes], a[V::kLanes], b[V::kLanes], c[V::kLanes], d[V::kLanes];
};

// Stage 1, from the pixels: saturation S and value V before the boosts
// (s, v), and for the hue the fractions of the two channels whose
// difference is its numerator (a, b), the divisor max - min as a fraction
// (c) and the sextant added to the quotient (d). A grey pixel (max = min)
// gets S = 0 and divides its hue by 1 instead of 0, which keeps its lanes
// free of exceptions; its hue is never used.
template <class V>
void hsvParts(typename V::I pixels, RunSingles<V>& out) {
    using F = typename V::F;
    using I = typename V::I;
    const I byteMask = V::splat(0xFF);
    const I red = V::andI(V::template shiftRight<16>(pixels), byteMask);
    const I green = V::andI(V::template shiftRight<8>(pixels), byteMask);
    const I blue = V::andI(pixels, byteMask);
    const I max = V::maxByte(V::maxByte(red, green), blue);
    const I min = V::minByte(V::minByte(red, green), blue);

    const F v = simd::byteFraction<V>(max);
    const F d = simd::byteFraction<V>(V::subI(max, min));
    const F grey = V::maskF(V::equalI(max, min));
    const F one = V::splatF(1.0f);
    V::storeF(out.s, V::divF(d, V::selectF(grey, one, v)));
    V::storeF(out.v, v);
    V::storeF(out.c, V::selectF(grey, one, d));

    // The channel that holds the maximum picks the numerator: red wins
    // ties, then green.
    const I redMax = V::equalI(red, max);
    const I greenMax = V::andNotI(redMax, V::equalI(green, max));
    V::storeF(out.a, simd::byteFraction<V>(V::selectI(redMax, green, V::selectI(greenMax, blue, red))));
    V::storeF(out.b, simd::byteFraction<V>(V::selectI(redMax, blue, V::selectI(greenMax, red, green))));
    V::storeF(out.d, V::selectF(V::maskF(redMax), V::splatF(0.0f),
                                V::selectF(V::maskF(greenMax), V::splatF(2.0f), V::splatF(4.0f))));
}

// single((x * k1) / (x * k + 1)).
template <class V>
typename V::D boost(typename V::D x, typename V::D k, typename V::D k1) {
    return V::div(V::mul(x, k1), V::add(V::mul(x, k), V::splat(1.0)));
}

// Stage 2: the hue in turns, turned by the hue shift, into a, and the
// boosts of S and V, in place.
template <class V>
void turnedHue(const VectorCoefficients<V>& k, RunSingles<V>& run) {
    using D = typename V::D;
    using S = typename V::S;
    // The sextant is 0 for red: adding +0 leaves the quotient as it is.
    const D quotient = V::div(V::sub(V::widenFrom(run.a), V::widenFrom(run.b)), V::widenFrom(run.c));
    const S one = V::splatS(1.0f), zero = V::splatS(0.0f);
    S h = V::divS(V::narrowS(V::add(quotient, V::widenFrom(run.d))), V::splatS(6.0f));
    h = V::addS(h, V::andS(V::lessS(h, zero), one));
    if (k.turns) {
        h = V::narrowS(V::add(V::widenS(h), k.hueShift));
        h = V::addS(h, V::andS(V::lessS(h, zero), one));
    }
    V::storeS(run.a, V::subS(h, V::andS(V::greaterEqualS(h, one), one)));
    if (k.boostsS) V::narrowTo(run.s, boost<V>(V::widenFrom(run.s), k.kS, k.kS1));
    if (k.boostsV) V::narrowTo(run.v, boost<V>(V::widenFrom(run.v), k.kV, k.kV1));
}

// Stage 3: the hue's sector (into d) and the three levels p, q and t of the
// colour (into a, b, c).
template <class V>
void levels(RunSingles<V>& run) {
    using D = typename V::D;
    using F = typename V::F;
    // |X| stays below 2^31 for every hue parameter (|hueShift| < 2^31 / 300),
    // so the floor is that of the scalar path, sector index included, and
    // X minus its floor is exact in single precision.
    const F x = V::mulF(V::loadF(run.a), V::splatF(6.0f));
    const F sector = V::floorF(x);
    V::storeF(run.d, sector);
    V::storeF(run.a, V::subF(x, sector));

    // A grey pixel has S = 0 (+0 or -0), so p, q and t all equal V and
    // every sector gives the grey output.
    const D one = V::splat(1.0);
    const D f = V::widenFrom(run.a), s = V::widenFrom(run.s), v = V::widenFrom(run.v);
    V::narrowTo(run.a, V::mul(V::sub(one, s), v));
    V::narrowTo(run.b, V::mul(V::sub(one, V::mul(f, s)), v));
    V::narrowTo(run.c, V::mul(V::sub(one, V::mul(V::sub(one, f), s)), v));
}

// Stage 4: the output pixels, each channel V, p, q or t by sector.
template <class V>
typename V::I outputPixels(const RunSingles<V>& run) {
    using F = typename V::F;
    const F v = V::loadF(run.v), p = V::loadF(run.a), q = V::loadF(run.b), t = V::loadF(run.c);
    const F sector = V::loadF(run.d);
    const F in0 = V::equalF(sector, V::splatF(0.0f)), in1 = V::equalF(sector, V::splatF(1.0f));
    const F in2 = V::equalF(sector, V::splatF(2.0f)), in3 = V::equalF(sector, V::splatF(3.0f));
    const F in4 = V::equalF(sector, V::splatF(4.0f));  // anything else counts as sector 5
    return V::packChannels(
        simd::fractionBytes<V>(V::selectF(in1, q, V::selectF(V::orMaskF(in2, in3), p, V::selectF(in4, t, v)))),
        simd::fractionBytes<V>(V::selectF(in0, t, V::selectF(V::orMaskF(in1, in2), v, V::selectF(in3, q, p)))),
        simd::fractionBytes<V>(
            V::selectF(V::orMaskF(in0, in1), p, V::selectF(in2, t, V::selectF(V::orMaskF(in3, in4), v, q)))));
}

template <class V>
void transformRowWith(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    constexpr int kMaxRuns = 16;
    const VectorCoefficients<V> k(c);
    simd::forEachChunk<V, kMaxRuns>(src, dst, width, [&k](const unsigned char* s, unsigned char* d, int runs) {
        RunSingles<V> stage[kMaxRuns];
        for (int i = 0; i < runs; ++i) hsvParts<V>(V::loadPixels(s + 4 * V::kLanes * i), stage[i]);
        for (int i = 0; i < runs; ++i) turnedHue<V>(k, stage[i]);
        for (int i = 0; i < runs; ++i) levels<V>(stage[i]);
        for (int i = 0; i < runs; ++i) V::storePixels(d + 4 * V::kLanes * i, outputPixels<V>(stage[i]));
    });
}

}  // namespace sorvel::hsv
