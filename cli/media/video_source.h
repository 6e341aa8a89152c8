// The source as the written video needs it: decoding fills it in from the
// first frame, encoding reads it.
#pragma once

#include "cli/media/av_handles.h"
#include "cli/media/colour.h"

namespace sorvel::cli {

// What the written video takes over from its source.
struct VideoSource {
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_BGRA;  // as decoded: it picks the output's kind
    bool alpha = false;                      // whether the pictures carry transparency
    AVCodecID codec = AV_CODEC_ID_NONE;      // the source's video codec; none for pictures
    AVRational timeBase{1, 25}, frameRate{25, 1}, aspect{0, 1};
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    AVChromaLocation chromaLocation = AVCHROMA_LOC_UNSPECIFIED;
    YuvColour colour;                  // of a YUV source
    const AVStream* stream = nullptr;  // side data (rotation) and metadata to keep
    bool lossless = false;             // coded without loss (see lossless_output.h)
    bool onePicture = false;           // a single picture rather than a video
};

}  // namespace sorvel::cli
