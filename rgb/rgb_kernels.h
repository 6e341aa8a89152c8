// The vector row kernel of the RGB curves. Call only a kernel that
// kernelRuns (core/kernel.h) reports for this CPU.
#pragma once

#include "rgb/rgb_tables.h"

namespace sorvel::rgb {

void transformRowAvx2(const CurveBytes& t, const unsigned char* src, unsigned char* dst, int width);

}  // namespace sorvel::rgb
