#include "core/simd_doubled.h"
#include "core/simd_sse2.h"
#include "hsv/hsv_kernels.h"
#include "hsv/hsv_vector_row.h"

namespace sorvel::hsv {

void transformRowSse2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    transformRowWith<simd::Doubled<simd::Sse2>>(c, src, dst, width);
}

}  // namespace sorvel::hsv
