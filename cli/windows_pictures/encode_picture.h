// A picture encoded in memory by stb_image_write, as the file name's
// extension says (PNG, JPEG at quality 95, BMP).
#pragma once

#include <string>

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

// Puts the file's bytes into file. Returns "" or the cause.
std::string encodePicture(const std::string& path, const Image& image, std::string& file);

}  // namespace sorvel::cli
