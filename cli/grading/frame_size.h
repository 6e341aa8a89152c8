// The size of the frames a chain filters, and the largest one taken.
#pragma once

namespace sorvel::cli {

struct FrameSize {
    int width = 0;
    int height = 0;
};

// Largest frame or image side accepted; a frame of 16384 x 16384 pixels
// takes 1 GiB.
constexpr int kMaxSide = 16384;

}  // namespace sorvel::cli
