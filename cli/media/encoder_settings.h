// The encoder's own settings beyond quality: its usual preset for the
// asked speed, and how much of its own logging reaches the terminal.
#pragma once

#include "cli/media/codec_choice.h"
#include "cli/media/speed.h"

namespace sorvel::cli {

// Adds the options for speed: x264 and x265 presets (veryfast, medium,
// slow); libvpx's good deadline with cpu-used 5 (VP9: 4), 3 or 1, and row
// threads for VP9; SVT-AV1 presets 12, 10 or 8; libaom cpu-used 8, 6 or 4
// with row threads. Other encoders have no such choice and are left alone.
void addSpeed(EncoderChoice& choice, Speed speed);

// Whether FFmpeg's encoder for the codec searches a vector codebook for
// every frame (Cinepak, RoQ, A64): a 720p Cinepak frame takes seconds. A
// source in one of these is re-encoded in the container's usual codec.
bool encodesSlowly(AVCodecID codec);

// x265 and SVT-AV1 write to standard error themselves rather than through
// FFmpeg's log: they are told to print only warnings and errors, or with
// quiet only errors (SVT-AV1 through SVT_LOG, unless the user set it).
void limitEncoderLogging(EncoderChoice& choice, bool quiet);

}  // namespace sorvel::cli
