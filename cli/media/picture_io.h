// Whole pictures in memory read from and written to files through the same
// path as videos: any picture format FFmpeg reads, and the format that the
// written file's extension names (the demo writes PNG).
//
// Reading gives 8-bit BGRA pixel words. RGB and YUV pictures get an opaque
// alpha of 255; grey and palette pictures become RGB, and transparency (an
// alpha channel, a PNG tRNS chunk) becomes alpha. No gamma or colour-profile
// conversion is made. Pictures with more than 8 bits per channel are
// reduced to 8, with a warning.
//
// Writing a PNG makes an 8-bit RGB file, or RGBA when the image has alpha,
// under a temporary name that is renamed over the target when complete.
#pragma once

#include <string>
#include <vector>

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

struct PictureRead {
    Image image;
    std::string error;  // one line; empty on success
    std::vector<std::string> warnings;
};

// The first picture of the file (or of its video); pictures of more than
// maxPixels pixels are refused (0: no limit).
PictureRead readPicture(const std::string& path, long long maxPixels = 0);

// Returns an error text, or "" on success.
std::string writePicture(const std::string& path, const Image& image);

}  // namespace sorvel::cli
