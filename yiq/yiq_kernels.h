// The vector row kernels of the YIQ transform. Call only a kernel that
// kernelRuns (core/kernel.h) reports for this CPU.
#pragma once

#include "yiq/yiq_transform.h"

namespace sorvel::yiq {

void transformRowSse2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);
void transformRowAvx2(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);

}  // namespace sorvel::yiq
