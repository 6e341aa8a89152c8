// Turning a picture the way its EXIF Orientation (1 to 8) says it is shown,
// so that it can be stored upright with Orientation 1.
#pragma once

#include <cstdint>

namespace sorvel::cli {

// Whether orientation swaps width and height (5 to 8: a quarter turn).
bool turnsSideways(int orientation);

// Copies the width x height BGRA picture at from into to as it is shown
// under orientation; to is height x width when turnsSideways. Strides are in
// bytes. Values outside 1..8 copy the picture as it is.
void orientPixels(const std::uint8_t* from, int fromStride, int width, int height, int orientation, std::uint8_t* to,
                  int toStride);

}  // namespace sorvel::cli
