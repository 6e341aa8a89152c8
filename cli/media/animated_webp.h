// Recognises animated WebP files, which FFmpeg's WebP decoder cannot read:
// it only decodes still pictures.
#pragma once

#include <string>

namespace sorvel::cli {

// Whether the file at path is a WebP whose extended header (VP8X) marks an
// animation. False for anything it cannot open or read.
bool isAnimatedWebp(const std::string& path);

}  // namespace sorvel::cli
