// Whether a container's muxer takes a stream, asked of the muxer itself.
#pragma once

#include "cli/media/av_handles.h"

namespace sorvel::cli {

// Whether a file of this format can be started with a stream like par:
// the muxer is set up and, with header, writes its header to nowhere. This
// is what decides in the end (Matroska stores any sound with a WAV tag,
// though it lists only its own codecs; it lists RealVideo but does not
// write it).
bool muxerTakes(const AVOutputFormat* format, const AVCodecParameters& par, bool header);

// muxerTakes, without the header (which may need the encoder's extradata),
// for a video stream of this codec of a usual size.
bool muxerTakesVideo(const AVOutputFormat* format, AVCodecID codec);

}  // namespace sorvel::cli
