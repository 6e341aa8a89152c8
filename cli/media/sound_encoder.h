// A sound stream that the output's container cannot hold as it is (AAC in
// WebM, PCM in MP4), encoded as ffmpeg encodes it: decoded, converted to
// what the container's usual sound encoder takes (sample format, rate,
// channel layout, frame size) by libavfilter, and encoded with it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cli/media/av_handles.h"

struct AVFilterGraph;
struct AVFilterContext;

namespace sorvel::cli {

class SoundEncoder {
public:
    SoundEncoder() = default;
    SoundEncoder(const SoundEncoder&) = delete;
    SoundEncoder& operator=(const SoundEncoder&) = delete;
    ~SoundEncoder();

    // Opens a decoder for in and the usual sound encoder of output's
    // container (path names the file), and adds the encoded stream to
    // output. Call before the header is written. Returns "" or the cause.
    std::string open(const AVStream& in, AVFormatContext& output, const std::string& path);

    const char* encoderName() const;
    int streamIndex() const { return stream_; }

    // Each encoded packet goes here, timed in timeBase().
    using Write = std::function<std::string(AVPacket&)>;
    AVRational timeBase() const;

    // Decodes a packet of the input stream, timed in its time base, and
    // encodes what it gives; nullptr drains everything. Returns "" or the
    // cause.
    std::string add(const AVPacket* packet, const Write& write);

private:
    std::string openGraph(const AVFrame& first);
    std::string filter(AVFrame* decoded, const Write& write);
    std::string encode(const AVFrame* frame, const Write& write);

    CodecPtr decoder_, encoder_;
    FramePtr decoded_, converted_;
    PacketPtr encoded_;
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    AVRational inputTimeBase_{1, 1};
    std::int64_t nextPts_ = AV_NOPTS_VALUE;  // where the last decoded frame ends, for frames without a time
    int stream_ = -1;
};

}  // namespace sorvel::cli
