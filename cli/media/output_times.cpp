#include "cli/media/output_times.h"

#include <algorithm>
#include <cstring>

namespace sorvel::cli {
namespace {

bool isMpegSystemStream(const char* name) {
    // "mpeg" and "mpegts" are the program and transport stream demuxers and
    // muxers; "vob", "dvd", "svcd" and "vcd" write program streams too.
    for (const char* mpeg : {"mpeg", "mpegts", "vob", "dvd", "svcd", "vcd"})
        if (std::strcmp(name, mpeg) == 0) return true;
    return false;
}

}  // namespace

std::int64_t startShift(const AVFormatContext& input, const AVOutputFormat& output) {
    const std::int64_t start = input.start_time;
    if (start == AV_NOPTS_VALUE) return 0;
    if (start < 0) return start;
    return isMpegSystemStream(input.iformat->name) && !isMpegSystemStream(output.name) ? start : 0;
}

void OutputTimes::reset(std::int64_t shift, bool strict) {
    shift_ = shift;
    strict_ = strict;
    lastDts_.clear();
}

void OutputTimes::fix(AVPacket& packet, AVRational timeBase, AVMediaType type) {
    const std::int64_t shift = av_rescale_q(shift_, AV_TIME_BASE_Q, timeBase);
    if (packet.pts != AV_NOPTS_VALUE) packet.pts -= shift;
    if (packet.dts != AV_NOPTS_VALUE) packet.dts -= shift;
    if (packet.dts == AV_NOPTS_VALUE && type == AVMEDIA_TYPE_AUDIO) packet.dts = packet.pts;
    const auto stream = static_cast<std::size_t>(packet.stream_index);
    if (lastDts_.size() <= stream) lastDts_.resize(stream + 1, AV_NOPTS_VALUE);
    std::int64_t& last = lastDts_[stream];
    if (packet.dts != AV_NOPTS_VALUE && last != AV_NOPTS_VALUE) {
        const std::int64_t least = last + (strict_ ? 1 : 0);
        if (packet.dts < least) {
            if (packet.pts != AV_NOPTS_VALUE && packet.pts >= packet.dts) packet.pts = std::max(packet.pts, least);
            packet.dts = least;
        }
    }
    if (packet.dts != AV_NOPTS_VALUE) last = packet.dts;
}

}  // namespace sorvel::cli
