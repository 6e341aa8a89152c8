#include "cli/media/frame_layout.h"

#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "cli/media/colour.h"
#include "cli/media/ffmpeg_compat.h"

namespace sorvel::cli {
namespace {

bool encoderTakes(const AVCodec* encoder, AVPixelFormat format) {
    const AVPixelFormat* f = encoderPixelFormats(encoder);
    if (f == nullptr) return true;
    for (; *f != AV_PIX_FMT_NONE; ++f)
        if (*f == format) return true;
    return false;
}

// The same kind of 8-bit YUV (with alpha, full range) in another layout.
AVPixelFormat withLayout(AVPixelFormat format, const char* layout) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    if (d == nullptr || !isYuv(format)) return AV_PIX_FMT_NONE;
    const bool alpha = (d->flags & AV_PIX_FMT_FLAG_ALPHA) != 0, full = std::strncmp(d->name, "yuvj", 4) == 0;
    const std::string name = std::string(alpha ? "yuva" : full ? "yuvj" : "yuv") + layout + "p";
    return av_get_pix_fmt(name.c_str());
}

}  // namespace

FrameLayout fitLayout(const AVCodec* encoder, AVPixelFormat chosen, int width, int height, bool allow444) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(chosen);
    if (d == nullptr) return {chosen, width, height, ""};
    const int across = 1 << d->log2_chroma_w, down = 1 << d->log2_chroma_h;
    if (width % across == 0 && height % down == 0) return {chosen, width, height, ""};
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const AVPixelFormat full = withLayout(chosen, "444");
    if (allow444 && full != AV_PIX_FMT_NONE && encoderTakes(encoder, full))
        return {full, width, height,
                std::string(encoder->name) + " takes " + size + " frames in 4:4:4 only (" + d->name +
                    " needs an even size): written as " + av_get_pix_fmt_name(full)};
    const int w = (width + across - 1) / across * across, h = (height + down - 1) / down * down;
    const std::string what = w != width && h != height ? "a column and a row" : w != width ? "a column" : "a row";
    return {chosen, w, h,
            std::string(encoder->name) + " cannot take " + size + " frames in " + d->name + ": padded to " +
                std::to_string(w) + "x" + std::to_string(h) + " with " + what + " repeating the edge"};
}

AVPixelFormat subsampled420(const AVCodec* encoder, AVPixelFormat chosen) {
    const AVPixelFormat f = withLayout(chosen, "420");
    return f != AV_PIX_FMT_NONE && encoderTakes(encoder, f) ? f : chosen;
}

}  // namespace sorvel::cli
