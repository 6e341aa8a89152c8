// The RGB curves on AVX2: each channel's 256 results as bytes, looked up 32
// at a time with byte shuffles over 16-entry slices of the table.
#include <immintrin.h>

#include <cstring>

#include "rgb/rgb_kernels.h"

namespace sorvel::rgb {
namespace {

// table[b] for each of 32 bytes b. The low nibble picks an entry in every
// 16-entry slice (one shuffle each); bits 4 to 7, each moved to the top of
// its byte where the blend reads it, then pick the slice in four rounds of
// pairwise byte blends.
__m256i lookupAvx2(const unsigned char* table, __m256i bytes) {
    const __m256i low = _mm256_and_si256(bytes, _mm256_set1_epi8(0x0F));
    __m256i slice[16];
    for (int s = 0; s < 16; ++s) {
        const __m128i entries = _mm_loadu_si128(reinterpret_cast<const __m128i*>(table + 16 * s));
        slice[s] = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(entries), low);
    }
    // 16-bit shifts: a bit that crosses into the next byte lands below its top.
    const __m256i bit[4] = {_mm256_slli_epi16(bytes, 3), _mm256_slli_epi16(bytes, 2), _mm256_slli_epi16(bytes, 1),
                            bytes};
    for (int round = 0, count = 8; round < 4; ++round, count /= 2)
        for (int s = 0; s < count; ++s) slice[s] = _mm256_blendv_epi8(slice[2 * s], slice[2 * s + 1], bit[round]);
    return slice[0];
}

// Within each 16-byte lane, the bytes of four pixels (blue, green, red, top
// byte each) regrouped by channel, or back: a 4 x 4 transpose.
__m256i transposeAvx2(__m256i v) {
    const __m256i order = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,  //
                                           0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    return _mm256_shuffle_epi8(v, order);
}

// 32 pixels: their blue, green and red bytes gathered into one register
// each, looked up, and put back with top bytes 0.
void blockAvx2(const CurveBytes& t, const unsigned char* src, unsigned char* dst) {
    __m256i x[4];
    for (int i = 0; i < 4; ++i)
        x[i] = transposeAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 32 * i)));
    const __m256i t0 = _mm256_unpacklo_epi32(x[0], x[1]), t1 = _mm256_unpackhi_epi32(x[0], x[1]);
    const __m256i t2 = _mm256_unpacklo_epi32(x[2], x[3]), t3 = _mm256_unpackhi_epi32(x[2], x[3]);
    const __m256i blue = lookupAvx2(t.blue, _mm256_unpacklo_epi64(t0, t2));
    const __m256i green = lookupAvx2(t.green, _mm256_unpackhi_epi64(t0, t2));
    const __m256i red = lookupAvx2(t.red, _mm256_unpacklo_epi64(t1, t3));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i u0 = _mm256_unpacklo_epi32(blue, green), u1 = _mm256_unpackhi_epi32(blue, green);
    const __m256i v0 = _mm256_unpacklo_epi32(red, zero), v1 = _mm256_unpackhi_epi32(red, zero);
    const __m256i y[4] = {_mm256_unpacklo_epi64(u0, v0), _mm256_unpackhi_epi64(u0, v0), _mm256_unpacklo_epi64(u1, v1),
                          _mm256_unpackhi_epi64(u1, v1)};
    for (int i = 0; i < 4; ++i) _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32 * i), transposeAvx2(y[i]));
}

}  // namespace

void transformRowAvx2(const CurveBytes& t, const unsigned char* src, unsigned char* dst, int width) {
    constexpr int kBlock = 32;
    int x = 0;
    for (; x + kBlock <= width; x += kBlock) blockAvx2(t, src + 4 * x, dst + 4 * x);
    if (x < width) {
        // The last, shorter block goes through a buffer.
        unsigned char last[4 * kBlock] = {};
        const std::size_t bytes = 4 * static_cast<std::size_t>(width - x);
        std::memcpy(last, src + 4 * x, bytes);
        blockAvx2(t, last, last);
        std::memcpy(dst + 4 * x, last, bytes);
    }
}

}  // namespace sorvel::rgb
