// Owning handles for FFmpeg's objects, and its error codes as text.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace sorvel::cli {

struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct InputClose {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct ScalerFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputClose>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFree>;

// FFmpeg's text for an error code, with the last error the libraries logged
// before it where that says more ("libx264: width not divisible by 2:
// Invalid argument").
std::string avErrorText(int error);

// The last error FFmpeg logged, or "".
std::string libraryMessage();

// Keeps FFmpeg's own log off the terminal; its last error line is kept
// for avErrorText instead.
void captureLibraryLog();

// Forgets the last logged error, once a step has succeeded.
void clearLibraryLog();

}  // namespace sorvel::cli
