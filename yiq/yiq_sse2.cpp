#include "core/simd_doubled.h"
#include "core/simd_sse2.h"
#include "yiq/yiq_kernels.h"
#include "yiq/yiq_vector_row.h"

namespace sorvel::yiq {

void transformRowSse2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    transformRowWith<simd::Doubled<simd::Sse2>>(c, src, dst, width);
}

}  // namespace sorvel::yiq
