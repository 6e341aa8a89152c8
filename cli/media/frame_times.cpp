#include "cli/media/frame_times.h"

#include <algorithm>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

namespace sorvel::cli {

FrameTimes::FrameTimes(AVRational timeBase, AVRational frameRate)
    : framePeriod_(std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(frameRate), timeBase))) {}

std::int64_t FrameTimes::next(std::int64_t timestamp, std::int64_t duration) {
    const std::int64_t time = timestamp != AV_NOPTS_VALUE ? timestamp : expected_;
    expected_ = time + (duration > 0 ? duration : framePeriod_);
    return time;
}

}  // namespace sorvel::cli
