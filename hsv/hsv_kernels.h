// The vector row kernels of the HSV transform. Call only a kernel that
// kernelRuns (core/kernel.h) reports for this CPU.
#pragma once

#include "hsv/hsv_transform.h"

namespace sorvel::hsv {

void transformRowSse2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);
void transformRowAvx2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);

}  // namespace sorvel::hsv
