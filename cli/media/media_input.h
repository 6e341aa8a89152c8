// The file read: its container, the decoder of its first video or picture
// stream, and the packets of its other streams in file order.
#pragma once

#include <cstdint>
#include <string>

#include "cli/media/av_handles.h"

namespace sorvel::cli {

class MediaInput {
public:
    // Opens path (any file or numbered sequence FFmpeg reads) and the
    // decoder of its video stream. Pictures of more than maxPixels pixels
    // are refused (0: no limit). threads 1 keeps the decoder on the
    // calling thread; otherwise it takes one per processor. Returns "" or
    // the cause.
    std::string open(const std::string& path, long long maxPixels = 0, int threads = 0);

    // Whether the file is one picture: not a video, nor a numbered sequence.
    bool singlePicture() const;

    enum class Next { frame, packet, end, error };
    // The next decoded frame (into frame) or packet of another stream (into
    // packet), the end, or an error whose text is in error. A frame that
    // cannot be decoded is an error naming its number and time.
    Next next(AVFrame& frame, AVPacket& packet, std::string& error);

    const AVFormatContext& format() const { return *format_; }
    const AVStream& stream() const { return *format_->streams[videoIndex_]; }
    int videoIndex() const { return videoIndex_; }
    AVCodecID codec() const { return stream().codecpar->codec_id; }
    bool isPicture() const { return picture_; }  // a picture file or numbered sequence

    // The number of frames, from the container's count or else from the
    // duration and frame rate; 0 when unknown.
    long expectedFrames() const;

private:
    std::string position(long number, std::int64_t timestamp) const;
    std::string decodeFailure(int result) const;
    bool endsEarly() const;
    std::string endsBeforeHeader() const;
    void notePacketEnd(const AVPacket& packet);
    Next fail(std::string& error, const std::string& text);

    InputPtr format_;
    CodecPtr decoder_;
    PacketPtr packet_;
    std::string path_;
    int videoIndex_ = -1;
    long decoded_ = 0;
    std::int64_t lastTimestamp_ = AV_NOPTS_VALUE;  // of the last video packet sent
    std::int64_t decodedEnd_ = AV_NOPTS_VALUE;     // where the last decoded frame ends
    bool draining_ = false;
    bool picture_ = false;                      // a picture file, not a video
    std::int64_t packetsEnd_ = AV_NOPTS_VALUE;  // where the packets read end, from the start, in AV_TIME_BASE
};

}  // namespace sorvel::cli
