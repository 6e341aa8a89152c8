#include "core/simd_avx2.h"
#include "hsv/hsv_kernels.h"
#include "hsv/hsv_vector_row.h"

namespace sorvel::hsv {

void transformRowAvx2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width) {
    transformRowWith<simd::Avx2>(c, src, dst, width);
}

}  // namespace sorvel::hsv
