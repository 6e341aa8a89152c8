#include "core/simd_avx2.h"
#include "core/simd_doubled.h"
#include "yiq/yiq_kernels.h"
#include "yiq/yiq_vector_row.h"

namespace sorvel::yiq {

void transformRowAvx2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    transformRowWith<simd::Doubled<simd::Avx2>>(c, src, dst, width);
}

}  // namespace sorvel::yiq
