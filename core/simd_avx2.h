// AVX2 operations for the vector kernels: eight pixels per run. Their doubles
// are two registers of four (D); their singles either one register of eight
// (F) or, next to the doubles they come from or go to, two registers of four
// (S), so that narrowing and widening need no extra shuffle across the
// halves of a register. Include only in translation units compiled with
// -mavx2; everything here has internal linkage, so that no AVX2 code is ever
// shared with code that runs on any CPU.
#pragma once

#include <immintrin.h>

#include "core/simd_single_pairs.h"

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

// S holds the singles of D.lo and D.hi, four in each register.
struct Avx2 : SinglePairs {
    static constexpr int kLanes = 8;
    static constexpr bool kVariableShifts = true;
    struct D {
        __m256d lo, hi;  // pixels 0-3 and 4-7
    };
    using F = __m256;   // one single per pixel
    using I = __m256i;  // one int32 per pixel

    static I loadPixels(const unsigned char* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
    static void storePixels(unsigned char* at, I pixels) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), pixels);
    }

    static I splat(int v) { return _mm256_set1_epi32(v); }
    static I andI(I a, I b) { return _mm256_and_si256(a, b); }
    static I andNotI(I mask, I a) { return _mm256_andnot_si256(mask, a); }
    static I equalI(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
    static I selectI(I mask, I a, I b) { return _mm256_blendv_epi8(b, a, mask); }
    template <int Bits>
    static I shiftRight(I a) {
        return _mm256_srli_epi32(a, Bits);
    }
    static I maxByte(I a, I b) { return _mm256_max_epi32(a, b); }
    static I minByte(I a, I b) { return _mm256_min_epi32(a, b); }
    static I subI(I a, I b) { return _mm256_sub_epi32(a, b); }
    // Pixels from three int32 channels, each clamped to 0..255. The packs
    // and the shuffle work within each half of four pixels.
    static I packChannels(I red, I green, I blue) {
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(blue, red),
                                                  _mm256_packs_epi32(green, _mm256_setzero_si256()));
        // bytes of each half: blue 0-3, red 4-7, green 8-11; gather each
        // pixel's three.
        const __m256i order = _mm256_setr_epi8(0, 8, 4, -1, 1, 9, 5, -1, 2, 10, 6, -1, 3, 11, 7, -1,  //
                                               0, 8, 4, -1, 1, 9, 5, -1, 2, 10, 6, -1, 3, 11, 7, -1);
        return _mm256_shuffle_epi8(bytes, order);
    }

    static D splat(double v) { return {_mm256_set1_pd(v), _mm256_set1_pd(v)}; }
    static D add(D a, D b) { return {_mm256_add_pd(a.lo, b.lo), _mm256_add_pd(a.hi, b.hi)}; }
    static D sub(D a, D b) { return {_mm256_sub_pd(a.lo, b.lo), _mm256_sub_pd(a.hi, b.hi)}; }
    static D mul(D a, D b) { return {_mm256_mul_pd(a.lo, b.lo), _mm256_mul_pd(a.hi, b.hi)}; }
    static D div(D a, D b) { return {_mm256_div_pd(a.lo, b.lo), _mm256_div_pd(a.hi, b.hi)}; }
    static D abs(D a) {
        const __m256d sign = _mm256_set1_pd(-0.0);
        return {_mm256_andnot_pd(sign, a.lo), _mm256_andnot_pd(sign, a.hi)};
    }
    static D min(D a, D b) { return {_mm256_min_pd(a.lo, b.lo), _mm256_min_pd(a.hi, b.hi)}; }
    static D max(D a, D b) { return {_mm256_max_pd(a.lo, b.lo), _mm256_max_pd(a.hi, b.hi)}; }
    // Masks: all bits set where the comparison holds (never for NaN).
    static D less(D a, D b) { return {cmp<_CMP_LT_OQ>(a.lo, b.lo), cmp<_CMP_LT_OQ>(a.hi, b.hi)}; }
    static D andMask(D mask, D a) { return {_mm256_and_pd(mask.lo, a.lo), _mm256_and_pd(mask.hi, a.hi)}; }

    // Singles to doubles and back: F from and to memory, S in registers.
    static D widenFrom(const float* at) {
        return {_mm256_cvtps_pd(_mm_load_ps(at)), _mm256_cvtps_pd(_mm_load_ps(at + 4))};
    }
    static void narrowTo(float* at, D v) {
        _mm_store_ps(at, _mm256_cvtpd_ps(v.lo));
        _mm_store_ps(at + 4, _mm256_cvtpd_ps(v.hi));
    }
    static void storeS(float* at, S v) {
        _mm_store_ps(at, v.lo);
        _mm_store_ps(at + 4, v.hi);
    }
    static S narrowS(D v) { return {_mm256_cvtpd_ps(v.lo), _mm256_cvtpd_ps(v.hi)}; }
    static D widenS(S v) { return {_mm256_cvtps_pd(v.lo), _mm256_cvtps_pd(v.hi)}; }

    static F toSingle(I v) { return _mm256_cvtepi32_ps(v); }
    static F splatF(float v) { return _mm256_set1_ps(v); }
    static void storeF(float* at, F v) { _mm256_store_ps(at, v); }
    static F loadF(const float* at) { return _mm256_load_ps(at); }
    static F addF(F a, F b) { return _mm256_add_ps(a, b); }
    static F subF(F a, F b) { return _mm256_sub_ps(a, b); }
    static F mulF(F a, F b) { return _mm256_mul_ps(a, b); }
    static F divF(F a, F b) { return _mm256_div_ps(a, b); }
    static F equalF(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static F orMaskF(F a, F b) { return _mm256_or_ps(a, b); }
    static F selectF(F mask, F a, F b) { return _mm256_blendv_ps(b, a, mask); }
    static F maskF(I mask) { return _mm256_castsi256_ps(mask); }
    static F floorF(F v) { return _mm256_floor_ps(v); }

    // channelByte(double(v) * 255) in integer arithmetic. A finite v in
    // (0, 1] is a 24-bit mantissa times 2^(e - 150) for its biased exponent
    // e, so v * 255 is the integer mantissa * 255 (below 2^32) shifted right
    // by 150 - e, 23 or more; shift counts past 31 give 0, as for the
    // smallest values. Positive values from 1 up, infinity and NaN first
    // become 1 (255); negative values keep their sign bit, which makes the
    // shift count wrap past 31 (0). Positive infinity and NaN give 0.
    static I fractionToByte(F v) {
        const __m256i bits = _mm256_castps_si256(v);
        const __m256i capped = _mm256_min_epi32(bits, _mm256_set1_epi32(0x3F800000));
        const __m256i mantissa = _mm256_or_si256(_mm256_and_si256(capped, _mm256_set1_epi32(0x7FFFFF)),
                                                 _mm256_set1_epi32(0x800000));
        const __m256i times255 = _mm256_sub_epi32(_mm256_slli_epi32(mantissa, 8), mantissa);
        const __m256i shift = _mm256_sub_epi32(_mm256_set1_epi32(150), _mm256_srli_epi32(capped, 23));
        const __m256i notFinite = _mm256_cmpgt_epi32(bits, _mm256_set1_epi32(0x7F7FFFFF));
        return _mm256_andnot_si256(notFinite, _mm256_srlv_epi32(times255, shift));
    }

    // Truncation toward zero; INT_MIN for NaN and beyond the int32 range.
    static I truncate(D v) {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm256_cvttpd_epi32(v.lo)), _mm256_cvttpd_epi32(v.hi), 1);
    }

private:
    template <int Predicate>
    static __m256d cmp(__m256d a, __m256d b) {
        return _mm256_cmp_pd(a, b, Predicate);
    }
};

}  // namespace
}  // namespace sorvel::simd
