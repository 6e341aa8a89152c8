#include "cli/media/gif_palette.h"

#include <cstring>

#include "cli/media/filter_graph.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

namespace sorvel::cli {

GifPalette::~GifPalette() { avfilter_graph_free(&graph_); }

std::string GifPalette::open(int width, int height, AVRational timeBase, AVRational aspect) {
    if (aspect.num <= 0 || aspect.den <= 0) aspect = AVRational{1, 1};
    const std::string args = "video_size=" + std::to_string(width) + "x" + std::to_string(height) + ":pix_fmt=bgra" +
                             ":time_base=" + std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
                             ":pixel_aspect=" + std::to_string(aspect.num) + "/" + std::to_string(aspect.den);
    return openFilterGraph(graph_, "buffer", args, "buffersink", "split[a][b];[a]palettegen[p];[b][p]paletteuse",
                           source_, sink_);
}

std::string GifPalette::add(const AVFrame& bgra) {
    // The caller reuses its frame's buffer: the graph gets a copy of its own.
    FramePtr copy(av_frame_alloc());
    if (!copy) return "out of memory";
    copy->format = bgra.format;
    copy->width = bgra.width;
    copy->height = bgra.height;
    int error = av_frame_get_buffer(copy.get(), 0);
    if (error >= 0) error = av_frame_copy(copy.get(), &bgra);
    if (error >= 0) error = av_frame_copy_props(copy.get(), &bgra);
    if (error >= 0) error = av_buffersrc_add_frame(source_, copy.get());
    return error < 0 ? avErrorText(error) : "";
}

std::string GifPalette::finish(std::vector<FramePtr>& mapped) {
    int error = av_buffersrc_add_frame(source_, nullptr);
    while (error >= 0) {
        FramePtr frame(av_frame_alloc());
        if (!frame) return "out of memory";
        error = av_buffersink_get_frame(sink_, frame.get());
        if (error >= 0) mapped.push_back(std::move(frame));
    }
    return error == AVERROR_EOF ? "" : avErrorText(error);
}

void keepLastDelay(AVFormatContext& gif, std::int64_t duration, AVRational timeBase) {
    if (std::strcmp(gif.oformat->name, "gif") != 0 || duration <= 0) return;
    const std::int64_t hundredths = av_rescale_q(duration, timeBase, AVRational{1, 100});
    // A muxer without the option keeps its own choice.
    av_opt_set_int(gif.priv_data, "final_delay", hundredths > 65535 ? 65535 : hundredths, 0);
}

}  // namespace sorvel::cli
