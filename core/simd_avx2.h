// AVX2 operations for the vector kernels: four pixels per vector, each
// pixel's arithmetic in one double lane. Include only in translation units
// compiled with -mavx2; everything here has internal linkage, so that no
// AVX2 code is ever shared with code that runs on any CPU.
#pragma once

#include <immintrin.h>

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

struct Avx2 {
    static constexpr int kLanes = 4;
    using D = __m256d;  // one double per pixel
    using F = __m128;   // one single per pixel
    using I = __m128i;  // one int32 per pixel

    static I loadPixels(const unsigned char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static void storePixels(unsigned char* at, I pixels) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
    }

    static I splat(int v) { return _mm_set1_epi32(v); }
    static I andI(I a, I b) { return _mm_and_si128(a, b); }
    static I andNotI(I mask, I a) { return _mm_andnot_si128(mask, a); }
    static I equalI(I a, I b) { return _mm_cmpeq_epi32(a, b); }
    template <int Bits> static I shiftRight(I a) { return _mm_srli_epi32(a, Bits); }
    static I maxByte(I a, I b) { return _mm_max_epi32(a, b); }
    static I minByte(I a, I b) { return _mm_min_epi32(a, b); }
    static I subI(I a, I b) { return _mm_sub_epi32(a, b); }
    // Pixels from three int32 channels, each clamped to 0..255.
    static I packChannels(I red, I green, I blue) {
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(blue, red),
                                               _mm_packs_epi32(green, _mm_setzero_si128()));
        // bytes: blue 0-3, red 4-7, green 8-11; gather each pixel's three.
        return _mm_shuffle_epi8(bytes, _mm_setr_epi8(0, 8, 4, -1, 1, 9, 5, -1, 2, 10, 6, -1, 3, 11, 7, -1));
    }

    static D splat(double v) { return _mm256_set1_pd(v); }
    static D toDouble(I v) { return _mm256_cvtepi32_pd(v); }
    static D single(D v) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(v)); }
    static F narrow(D v) { return _mm256_cvtpd_ps(v); }
    static D widen(F v) { return _mm256_cvtps_pd(v); }
    static D add(D a, D b) { return _mm256_add_pd(a, b); }
    static D sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static D div(D a, D b) { return _mm256_div_pd(a, b); }
    static D abs(D a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static D min(D a, D b) { return _mm256_min_pd(a, b); }

    static D equal(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static D less(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static D andNotMask(D a, D b) { return _mm256_andnot_pd(a, b); }
    static D andMask(D mask, D a) { return _mm256_and_pd(mask, a); }
    static D select(D mask, D a, D b) { return _mm256_blendv_pd(b, a, mask); }

    static F splatF(float v) { return _mm_set1_ps(v); }
    static F addF(F a, F b) { return _mm_add_ps(a, b); }
    static F subF(F a, F b) { return _mm_sub_ps(a, b); }
    static F mulF(F a, F b) { return _mm_mul_ps(a, b); }
    static F divF(F a, F b) { return _mm_div_ps(a, b); }
    static F equalF(F a, F b) { return _mm_cmpeq_ps(a, b); }
    static F lessF(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F greaterEqualF(F a, F b) { return _mm_cmpge_ps(a, b); }
    static F orMaskF(F a, F b) { return _mm_or_ps(a, b); }
    static F selectF(F mask, F a, F b) { return _mm_blendv_ps(b, a, mask); }
    static F floorF(F v) { return _mm_floor_ps(v); }

    static I truncate(D v) { return _mm256_cvttpd_epi32(v); }
};

}  // namespace
}  // namespace sorvel::simd
