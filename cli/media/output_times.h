// The time stamps of the written packets: every stream moved back by the
// same shift, and each stream's decoding times kept rising, as muxers need.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/media/av_handles.h"

namespace sorvel::cli {

// How far the output's times move back, in AV_TIME_BASE units: an MPEG-TS
// or MPEG-PS source's start (the clock reading its recording began at)
// when the output is of another kind; a negative start, so that nothing
// comes before 0; otherwise none, the start stays.
std::int64_t startShift(const AVFormatContext& input, const AVOutputFormat& output);

class OutputTimes {
public:
    // shift as startShift gives it. Strict muxers want each decoding time
    // after the last; others take equal ones (AVFMT_TS_NONSTRICT).
    void reset(std::int64_t shift, bool strict);

    // packet is timed in timeBase, its stream's. Like ffmpeg: the shift is
    // taken off; sound without a decoding time gets its presentation time
    // (sound is not reordered); a decoding time that goes back, as in files
    // joined from pieces, becomes the least the muxer takes.
    void fix(AVPacket& packet, AVRational timeBase, AVMediaType type);

private:
    std::int64_t shift_ = 0;
    bool strict_ = true;
    std::vector<std::int64_t> lastDts_;  // by stream
};

}  // namespace sorvel::cli
