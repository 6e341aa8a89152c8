// Time stamps for decoded frames. Elementary streams (raw H.264, HEVC,
// MPEG video) give some or all of their frames none; like ffmpeg, such a
// frame is placed one frame duration after the one before it.
#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/rational.h>
}

namespace sorvel::cli {

class FrameTimes {
public:
    FrameTimes() = default;
    // Times count in timeBase; a stream without times starts at 0 and steps
    // by each frame's duration, or else one frame of frameRate.
    FrameTimes(AVRational timeBase, AVRational frameRate);

    // The time stamp of the next frame, which has timestamp (or
    // AV_NOPTS_VALUE) and lasts duration (0 when unknown).
    std::int64_t next(std::int64_t timestamp, std::int64_t duration);

private:
    std::int64_t framePeriod_ = 1;  // in the time base, at least 1
    std::int64_t expected_ = 0;     // where a frame without a time stamp goes
};

}  // namespace sorvel::cli
