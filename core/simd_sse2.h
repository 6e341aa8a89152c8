// SSE2 operations for the vector kernels: four pixels per run. Their doubles
// are two registers of two (D); their singles either one register of four
// (F) or, next to the doubles they come from or go to, two registers with
// two each at the bottom (S), so that narrowing and widening need no
// shuffles. Everything here has internal linkage, so that code compiled for
// one instruction set is never shared with a translation unit compiled for
// another.
#pragma once

#include <emmintrin.h>

#include "core/simd_single_pairs.h"

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

// S holds the singles of D.lo and D.hi in lanes 0-1 of its registers.
struct Sse2 : SinglePairs {
    static constexpr int kLanes = 4;
    static constexpr bool kVariableShifts = false;
    struct D {
        __m128d lo, hi;  // pixels 0-1 and 2-3
    };
    using F = __m128;   // one single per pixel
    using I = __m128i;  // one int32 per pixel

    static I loadPixels(const unsigned char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static void storePixels(unsigned char* at, I pixels) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels); }

    static I splat(int v) { return _mm_set1_epi32(v); }
    static I andI(I a, I b) { return _mm_and_si128(a, b); }
    static I andNotI(I mask, I a) { return _mm_andnot_si128(mask, a); }
    static I equalI(I a, I b) { return _mm_cmpeq_epi32(a, b); }
    static I selectI(I mask, I a, I b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    template <int Bits>
    static I shiftRight(I a) {
        return _mm_srli_epi32(a, Bits);
    }
    // Maximum and minimum of values 0..255 (16-bit compares suffice).
    static I maxByte(I a, I b) { return _mm_max_epi16(a, b); }
    static I minByte(I a, I b) { return _mm_min_epi16(a, b); }
    static I subI(I a, I b) { return _mm_sub_epi32(a, b); }
    // Pixels from three int32 channels, each clamped to 0..255.
    static I packChannels(I red, I green, I blue) {
        // bytes: blue 0-3, red 4-7, green 8-11.
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(blue, red), _mm_packs_epi32(green, _mm_setzero_si128()));
        // blue green pairs, then red zero pairs, then the pairs interleaved.
        const __m128i pairs = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 8));
        return _mm_unpacklo_epi16(pairs, _mm_srli_si128(pairs, 8));
    }

    static D splat(double v) { return {_mm_set1_pd(v), _mm_set1_pd(v)}; }
    static D add(D a, D b) { return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)}; }
    static D sub(D a, D b) { return {_mm_sub_pd(a.lo, b.lo), _mm_sub_pd(a.hi, b.hi)}; }
    static D mul(D a, D b) { return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)}; }
    static D div(D a, D b) { return {_mm_div_pd(a.lo, b.lo), _mm_div_pd(a.hi, b.hi)}; }
    static D abs(D a) {
        const __m128d sign = _mm_set1_pd(-0.0);
        return {_mm_andnot_pd(sign, a.lo), _mm_andnot_pd(sign, a.hi)};
    }
    static D min(D a, D b) { return {_mm_min_pd(a.lo, b.lo), _mm_min_pd(a.hi, b.hi)}; }
    static D max(D a, D b) { return {_mm_max_pd(a.lo, b.lo), _mm_max_pd(a.hi, b.hi)}; }
    // Masks: all bits set where the comparison holds (never for NaN).
    static D less(D a, D b) { return {_mm_cmplt_pd(a.lo, b.lo), _mm_cmplt_pd(a.hi, b.hi)}; }
    static D andMask(D mask, D a) { return {_mm_and_pd(mask.lo, a.lo), _mm_and_pd(mask.hi, a.hi)}; }

    // Singles to doubles and back: F from and to memory, S in registers.
    static D widenFrom(const float* at) { return {_mm_cvtps_pd(loadTwo(at)), _mm_cvtps_pd(loadTwo(at + 2))}; }
    static void narrowTo(float* at, D v) {
        storeTwo(at, _mm_cvtpd_ps(v.lo));
        storeTwo(at + 2, _mm_cvtpd_ps(v.hi));
    }
    static void storeS(float* at, S v) {
        storeTwo(at, v.lo);
        storeTwo(at + 2, v.hi);
    }
    static S narrowS(D v) { return {_mm_cvtpd_ps(v.lo), _mm_cvtpd_ps(v.hi)}; }
    static D widenS(S v) { return {_mm_cvtps_pd(v.lo), _mm_cvtps_pd(v.hi)}; }
    static D widen(F v) { return {_mm_cvtps_pd(v), _mm_cvtps_pd(_mm_movehl_ps(v, v))}; }

    static F toSingle(I v) { return _mm_cvtepi32_ps(v); }
    static F splatF(float v) { return _mm_set1_ps(v); }
    static void storeF(float* at, F v) { _mm_store_ps(at, v); }
    static F loadF(const float* at) { return _mm_load_ps(at); }
    static F addF(F a, F b) { return _mm_add_ps(a, b); }
    static F subF(F a, F b) { return _mm_sub_ps(a, b); }
    static F mulF(F a, F b) { return _mm_mul_ps(a, b); }
    static F divF(F a, F b) { return _mm_div_ps(a, b); }
    static F equalF(F a, F b) { return _mm_cmpeq_ps(a, b); }
    static F orMaskF(F a, F b) { return _mm_or_ps(a, b); }
    static F selectF(F mask, F a, F b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }
    static F maskF(I mask) { return _mm_castsi128_ps(mask); }
    // Floor for |v| < 2^31: the truncation, one lower where it rounded up.
    static F floorF(F v) {
        const F truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(v));
        return _mm_sub_ps(truncated, _mm_and_ps(_mm_cmpgt_ps(truncated, v), _mm_set1_ps(1.0f)));
    }

    // Truncation toward zero; INT_MIN for NaN and beyond the int32 range.
    static I truncate(D v) { return _mm_unpacklo_epi64(_mm_cvttpd_epi32(v.lo), _mm_cvttpd_epi32(v.hi)); }

private:
    // Two singles from or to memory, in lanes 0-1.
    static __m128 loadTwo(const float* at) {
        return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)));
    }
    static void storeTwo(float* at, __m128 v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(at), _mm_castps_si128(v)); }
};

}  // namespace
}  // namespace sorvel::simd
