// GIF frames as a GIF tool makes them: one palette of up to 256 colours made
// from all the frames (FFmpeg's palettegen, with an entry kept for
// transparency), then each frame mapped to it with error diffusion
// (paletteuse). The palette needs every frame first, so the frames are
// held until the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/media/av_handles.h"

struct AVFilterGraph;
struct AVFilterContext;

namespace sorvel::cli {

class GifPalette {
public:
    GifPalette() = default;
    GifPalette(const GifPalette&) = delete;
    GifPalette& operator=(const GifPalette&) = delete;
    ~GifPalette();

    // Frames of this size, timed in timeBase. Returns "" or the cause.
    std::string open(int width, int height, AVRational timeBase, AVRational aspect);

    // Takes a copy of a BGRA frame with its time stamp and duration.
    std::string add(const AVFrame& bgra);

    // Makes the palette and returns every frame mapped to it (PAL8), in order.
    std::string finish(std::vector<FramePtr>& mapped);

private:
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
};

// Makes the GIF muxer give the last frame its own delay (otherwise it
// repeats the one before): the duration in timeBase, rounded to GIF's
// hundredths of a second. Other formats are left alone.
void keepLastDelay(AVFormatContext& gif, std::int64_t duration, AVRational timeBase);

}  // namespace sorvel::cli
