// Hald CLUT pictures: a 3-D LUT of level L laid out as an L^3 x L^3 picture
// with L^2 steps per channel, red fastest, then green, then blue.
#pragma once

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

// Level 16 holds every 8-bit colour once and is exact; levels 8 and 12 hold
// the exact output of the 8-bit colour nearest each step.
Image haldClut(const Image& exact, int level);

}  // namespace sorvel::cli
