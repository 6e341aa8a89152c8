// AVX2 operations for the vector kernels: eight pixels per run, their
// doubles in two registers, their singles and integers in one. Include only
// in translation units compiled with -mavx2; everything here has internal
// linkage, so that no AVX2 code is ever shared with code that runs on any CPU.
#pragma once

#include <immintrin.h>

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

struct Avx2 {
    static constexpr int kLanes = 8;
    struct D {
        __m256d low, high;  // pixels 0-3 and 4-7
    };
    using F = __m256;   // one single per pixel
    using I = __m256i;  // one int32 per pixel

    static I loadPixels(const unsigned char* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static void storePixels(unsigned char* at, I pixels) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), pixels);
    }

    static I splat(int v) { return _mm256_set1_epi32(v); }
    static I andI(I a, I b) { return _mm256_and_si256(a, b); }
    static I andNotI(I mask, I a) { return _mm256_andnot_si256(mask, a); }
    static I equalI(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
    template <int Bits> static I shiftRight(I a) { return _mm256_srli_epi32(a, Bits); }
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
    static F narrow(D v) {
        return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(v.low)), _mm256_cvtpd_ps(v.high), 1);
    }
    static D widen(F v) {
        return {_mm256_cvtps_pd(_mm256_castps256_ps128(v)), _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1))};
    }
    static D add(D a, D b) { return {_mm256_add_pd(a.low, b.low), _mm256_add_pd(a.high, b.high)}; }
    static D sub(D a, D b) { return {_mm256_sub_pd(a.low, b.low), _mm256_sub_pd(a.high, b.high)}; }
    static D mul(D a, D b) { return {_mm256_mul_pd(a.low, b.low), _mm256_mul_pd(a.high, b.high)}; }
    static D div(D a, D b) { return {_mm256_div_pd(a.low, b.low), _mm256_div_pd(a.high, b.high)}; }
    static D abs(D a) {
        const __m256d sign = _mm256_set1_pd(-0.0);
        return {_mm256_andnot_pd(sign, a.low), _mm256_andnot_pd(sign, a.high)};
    }
    static D min(D a, D b) { return {_mm256_min_pd(a.low, b.low), _mm256_min_pd(a.high, b.high)}; }

    static D equal(D a, D b) { return {cmp<_CMP_EQ_OQ>(a.low, b.low), cmp<_CMP_EQ_OQ>(a.high, b.high)}; }
    static D less(D a, D b) { return {cmp<_CMP_LT_OQ>(a.low, b.low), cmp<_CMP_LT_OQ>(a.high, b.high)}; }
    static D andNotMask(D a, D b) { return {_mm256_andnot_pd(a.low, b.low), _mm256_andnot_pd(a.high, b.high)}; }
    static D andMask(D mask, D a) { return {_mm256_and_pd(mask.low, a.low), _mm256_and_pd(mask.high, a.high)}; }
    static D select(D mask, D a, D b) {
        return {_mm256_blendv_pd(b.low, a.low, mask.low), _mm256_blendv_pd(b.high, a.high, mask.high)};
    }

    static F toSingle(I v) { return _mm256_cvtepi32_ps(v); }
    static F splatF(float v) { return _mm256_set1_ps(v); }
    static F addF(F a, F b) { return _mm256_add_ps(a, b); }
    static F subF(F a, F b) { return _mm256_sub_ps(a, b); }
    static F mulF(F a, F b) { return _mm256_mul_ps(a, b); }
    static F divF(F a, F b) { return _mm256_div_ps(a, b); }
    static F equalF(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static F lessF(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
    static F greaterEqualF(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GE_OQ); }
    static F orMaskF(F a, F b) { return _mm256_or_ps(a, b); }
    static F selectF(F mask, F a, F b) { return _mm256_blendv_ps(b, a, mask); }
    static F floorF(F v) { return _mm256_floor_ps(v); }

    // Truncation toward zero; INT_MIN for NaN and beyond the int32 range.
    static I truncate(D v) {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm256_cvttpd_epi32(v.low)),
                                       _mm256_cvttpd_epi32(v.high), 1);
    }

private:
    template <int Predicate> static __m256d cmp(__m256d a, __m256d b) { return _mm256_cmp_pd(a, b, Predicate); }
};

}  // namespace
}  // namespace sorvel::simd
