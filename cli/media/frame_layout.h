// The pixel format and size a written video gets when the encoder cannot
// take the source's size in the chroma layout chosen for it.
#pragma once

#include <string>

#include "cli/media/av_handles.h"

namespace sorvel::cli {

struct FrameLayout {
    AVPixelFormat format;
    int width, height;    // the source's, or one more column or row of padding
    std::string warning;  // "" when nothing changed
};

// chosen as chooseOutputFormat gives it. Where its chroma subsampling does
// not divide width x height: its 4:4:4 form where the encoder has one and
// allow444; else the size padded by a column and/or a row to fit.
FrameLayout fitLayout(const AVCodec* encoder, AVPixelFormat chosen, int width, int height, bool allow444);

// The 4:2:0 form of a YUV format (yuvj444p gives yuvj420p), where the
// encoder has it; chosen otherwise.
AVPixelFormat subsampled420(const AVCodec* encoder, AVPixelFormat chosen);

}  // namespace sorvel::cli
