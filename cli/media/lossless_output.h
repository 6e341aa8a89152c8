// Sources coded without loss keep that: their output goes to a lossless
// encoder as the filtered RGB frames themselves, and WebP is written
// lossless where its source was.
#pragma once

#include "cli/media/av_handles.h"
#include "cli/media/codec_choice.h"

namespace sorvel::cli {

class MediaInput;

// Whether pictures of this codec, decoded to this pixel format, were
// stored without loss: codecs that only code losslessly (PNG, FFV1, UT
// Video, HuffYUV ...), and those with both modes (WebP, TIFF) where they
// decode to RGB, which WebP's lossless mode (VP8L) and TIFF's plain
// compressions do and their lossy ones (VP8, JPEG) do not.
bool codedLosslessly(AVCodecID codec, AVPixelFormat decoded);

// Whether the input is one picture: a picture file, or a container that
// holds a single frame.
bool holdsOnePicture(const MediaInput& input);

// Adjusts a chosen encoder to its source: WebP is written by the still
// picture encoder for one picture (never as a one-frame animation, which
// FFmpeg 5.1 cannot read), by the animation encoder otherwise, and
// lossless where the source is. Leaves an encoder asked for by name alone
// but for the lossless mode.
void fitToSource(EncoderChoice& choice, bool named, bool losslessSource, bool onePicture);

// Whether the encoder, with the chosen options, stores its input exactly.
bool encodesLosslessly(const EncoderChoice& choice);

}  // namespace sorvel::cli
