// The pixels of four photographs, against which a 3-D LUT's error is also
// measured, since photos are full of the near-blacks and dark saturated
// colours that an average over all colours weighs little. They are
// cli/lut/photos/photos.rgb (see the README there), built into the program.
#pragma once

#include <cstddef>

namespace sorvel::cli {

// 256 x 256 pixels, three bytes each: red, green, blue.
extern const unsigned char kPhotoPixels[];
extern const std::size_t kPhotoPixelCount;

}  // namespace sorvel::cli
