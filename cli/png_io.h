// PNG files in and out, through libpng.
//
// Reading gives 8-bit BGRA pixel words: RGB files get an opaque alpha of
// 255; grey and palette files are expanded to RGB, and transparency from a
// tRNS chunk becomes alpha. No gamma or colour-profile conversion is made:
// the stored values are the pixel values. 16-bit files are refused with an
// error, since the filters work on 8-bit channels.
//
// Writing makes an 8-bit RGB file, or RGBA when the image has alpha. The
// data goes to a new file beside the target, which is renamed over the
// target only when complete, so a failed write never leaves a partial file.
#pragma once

#include <cstdio>
#include <string>

#include "cli/image.h"

namespace sorvel::cli {

struct PngRead {
    Image image;
    std::string error;  // one line; empty on success
};

PngRead readPng(const std::string& path);

// Reads a PNG from an open stream, from its current position.
PngRead readPng(std::FILE* file);

// Returns an error text, or "" on success.
std::string writePng(const std::string& path, const Image& image);

}  // namespace sorvel::cli
