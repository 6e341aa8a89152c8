// SSE2 operations for the vector kernels: four pixels per run, their doubles
// in two registers, their singles and integers in one. Everything here has
// internal linkage, so that code compiled for one instruction set is never
// shared with a translation unit compiled for another.
#pragma once

#include <emmintrin.h>

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

struct Sse2 {
    static constexpr int kLanes = 4;
    struct D {
        __m128d low, high;  // pixels 0-1 and 2-3
    };
    using F = __m128;   // one single per pixel
    using I = __m128i;  // one int32 per pixel

    static I loadPixels(const unsigned char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static void storePixels(unsigned char* at, I pixels) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
    }

    static I splat(int v) { return _mm_set1_epi32(v); }
    static I andI(I a, I b) { return _mm_and_si128(a, b); }
    static I andNotI(I mask, I a) { return _mm_andnot_si128(mask, a); }
    static I equalI(I a, I b) { return _mm_cmpeq_epi32(a, b); }
    template <int Bits> static I shiftRight(I a) { return _mm_srli_epi32(a, Bits); }
    // Maximum and minimum of values 0..255 (16-bit compares suffice).
    static I maxByte(I a, I b) { return _mm_max_epi16(a, b); }
    static I minByte(I a, I b) { return _mm_min_epi16(a, b); }
    static I subI(I a, I b) { return _mm_sub_epi32(a, b); }
    // Pixels from three int32 channels, each clamped to 0..255.
    static I packChannels(I red, I green, I blue) {
        // bytes: blue 0-3, red 4-7, green 8-11.
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(blue, red),
                                               _mm_packs_epi32(green, _mm_setzero_si128()));
        // blue green pairs, then red zero pairs, then the pairs interleaved.
        const __m128i pairs = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 8));
        return _mm_unpacklo_epi16(pairs, _mm_srli_si128(pairs, 8));
    }

    static D splat(double v) { return {_mm_set1_pd(v), _mm_set1_pd(v)}; }
    static F narrow(D v) { return _mm_movelh_ps(_mm_cvtpd_ps(v.low), _mm_cvtpd_ps(v.high)); }
    static D widen(F v) { return {_mm_cvtps_pd(v), _mm_cvtps_pd(_mm_movehl_ps(v, v))}; }
    static D add(D a, D b) { return {_mm_add_pd(a.low, b.low), _mm_add_pd(a.high, b.high)}; }
    static D sub(D a, D b) { return {_mm_sub_pd(a.low, b.low), _mm_sub_pd(a.high, b.high)}; }
    static D mul(D a, D b) { return {_mm_mul_pd(a.low, b.low), _mm_mul_pd(a.high, b.high)}; }
    static D div(D a, D b) { return {_mm_div_pd(a.low, b.low), _mm_div_pd(a.high, b.high)}; }
    static D abs(D a) {
        const __m128d sign = _mm_set1_pd(-0.0);
        return {_mm_andnot_pd(sign, a.low), _mm_andnot_pd(sign, a.high)};
    }
    static D min(D a, D b) { return {_mm_min_pd(a.low, b.low), _mm_min_pd(a.high, b.high)}; }

    // Masks: all bits set where the comparison holds (never for NaN).
    static D equal(D a, D b) { return {_mm_cmpeq_pd(a.low, b.low), _mm_cmpeq_pd(a.high, b.high)}; }
    static D less(D a, D b) { return {_mm_cmplt_pd(a.low, b.low), _mm_cmplt_pd(a.high, b.high)}; }
    static D andNotMask(D a, D b) { return {_mm_andnot_pd(a.low, b.low), _mm_andnot_pd(a.high, b.high)}; }
    static D andMask(D mask, D a) { return {_mm_and_pd(mask.low, a.low), _mm_and_pd(mask.high, a.high)}; }
    // mask ? a : b, lane by lane.
    static D select(D mask, D a, D b) { return {pick(mask.low, a.low, b.low), pick(mask.high, a.high, b.high)}; }

    static F toSingle(I v) { return _mm_cvtepi32_ps(v); }
    static F splatF(float v) { return _mm_set1_ps(v); }
    static F addF(F a, F b) { return _mm_add_ps(a, b); }
    static F subF(F a, F b) { return _mm_sub_ps(a, b); }
    static F mulF(F a, F b) { return _mm_mul_ps(a, b); }
    static F divF(F a, F b) { return _mm_div_ps(a, b); }
    static F equalF(F a, F b) { return _mm_cmpeq_ps(a, b); }
    static F lessF(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F greaterEqualF(F a, F b) { return _mm_cmpge_ps(a, b); }
    static F orMaskF(F a, F b) { return _mm_or_ps(a, b); }
    static F selectF(F mask, F a, F b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }
    // Floor for |v| < 2^31: the truncation, one lower where it rounded up.
    static F floorF(F v) {
        const F truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(v));
        return _mm_sub_ps(truncated, _mm_and_ps(_mm_cmpgt_ps(truncated, v), _mm_set1_ps(1.0f)));
    }

    // Truncation toward zero; INT_MIN for NaN and beyond the int32 range.
    static I truncate(D v) { return _mm_unpacklo_epi64(_mm_cvttpd_epi32(v.low), _mm_cvttpd_epi32(v.high)); }

private:
    static __m128d pick(__m128d mask, __m128d a, __m128d b) {
        return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
    }
};

}  // namespace
}  // namespace sorvel::simd
