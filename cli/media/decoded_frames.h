// Decoded pictures as the filters take them: 8-bit BGRA frames converted
// with the source's colour matrix and range, and what the written video
// keeps of its source.
#pragma once

#include <string>
#include <vector>

#include "cli/media/av_handles.h"
#include "cli/media/colour.h"
#include "cli/media/media_input.h"
#include "cli/media/video_source.h"

namespace sorvel::cli {

class FrameToBgra {
public:
    // Converts a decoded frame of any format into frame(). The first frame
    // decides alpha(); a source deeper than 8 bits gives one warning.
    // Returns "" or the cause.
    std::string convert(const AVFrame& decoded, AVCodecID codec, int threads, std::vector<std::string>& warnings);

    const AVFrame& frame() const { return *bgra_; }
    // Whether the pictures carry transparency: a format with alpha, or a
    // palette with a transparent colour in use.
    bool alpha() const { return alpha_; }

private:
    FramePtr bgra_{av_frame_alloc()};
    Scaler scaler_;
    bool first_ = true, alpha_ = false;
};

// The written video's source: the decoded first frame's size, format and
// colour, the stream's timing, rotation and metadata.
VideoSource videoSourceOf(const MediaInput& input, const AVFrame& first, bool alpha);

}  // namespace sorvel::cli
