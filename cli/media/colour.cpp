#include "cli/media/colour.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace sorvel::cli {

bool isYuv(AVPixelFormat format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    return d != nullptr && d->nb_components >= 3 && (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) == 0;
}

int bitDepthOf(AVPixelFormat format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    int depth = 0;
    for (int i = 0; d != nullptr && i < d->nb_components; ++i)
        if (d->comp[i].depth > depth) depth = d->comp[i].depth;
    return depth;
}

YuvColour yuvColourOf(AVColorSpace matrix, AVColorRange range, AVPixelFormat format, AVCodecID codec, int width,
                      int height) {
    YuvColour c;
    const bool jpegFormat = format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P ||
                            format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ440P ||
                            format == AV_PIX_FMT_YUVJ411P;
    c.fullRange = range == AVCOL_RANGE_JPEG || (range == AVCOL_RANGE_UNSPECIFIED && jpegFormat);
    if (matrix != AVCOL_SPC_UNSPECIFIED && matrix != AVCOL_SPC_RESERVED && matrix != AVCOL_SPC_RGB) {
        c.matrix = matrix;
    } else {
        const bool picture = codec == AV_CODEC_ID_MJPEG || codec == AV_CODEC_ID_WEBP;
        c.matrix = !picture && (width >= 1280 || height > 576) ? AVCOL_SPC_BT709 : AVCOL_SPC_BT470BG;
    }
    return c;
}

std::string Scaler::prepare(const Ends& from, const Ends& to, int threads) {
    if (context_ && from == from_ && to == to_) return "";
    context_.reset(sws_alloc_context());
    if (!context_) return "out of memory";
    SwsContext* s = context_.get();
    const int flags = SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP;
    av_opt_set_int(s, "srcw", from.width, 0);
    av_opt_set_int(s, "srch", from.height, 0);
    av_opt_set_int(s, "src_format", from.format, 0);
    av_opt_set_int(s, "dstw", to.width, 0);
    av_opt_set_int(s, "dsth", to.height, 0);
    av_opt_set_int(s, "dst_format", to.format, 0);
    av_opt_set_int(s, "sws_flags", flags, 0);
    av_opt_set_int(s, "threads", threads, 0);
    int error = sws_init_context(s, nullptr, nullptr);
    // The matrix tables are indexed by the colour-space tags' values. Where
    // neither end is YUV (RGB, grey, palette) swscale's own full-range
    // handling stays.
    if (error >= 0 && (isYuv(from.format) || isYuv(to.format)))
        error = sws_setColorspaceDetails(s, sws_getCoefficients(from.colour.matrix), from.colour.fullRange ? 1 : 0,
                                         sws_getCoefficients(to.colour.matrix), to.colour.fullRange ? 1 : 0, 0, 1 << 16,
                                         1 << 16);
    if (error < 0) {
        context_.reset();
        return std::string("cannot convert ") + av_get_pix_fmt_name(from.format) + " to " +
               av_get_pix_fmt_name(to.format) + ": " + avErrorText(error);
    }
    from_ = from;
    to_ = to;
    return "";
}

std::string Scaler::convert(const AVFrame& src, const YuvColour& srcColour, AVFrame& dst, const YuvColour& dstColour,
                            int threads) {
    // An RGB end has no matrix, and its values use the whole range.
    const auto end = [](const AVFrame& f, const YuvColour& c) {
        const auto format = static_cast<AVPixelFormat>(f.format);
        return Ends{format, f.width, f.height, isYuv(format) ? c : YuvColour{AVCOL_SPC_BT470BG, true}};
    };
    const Ends from = end(src, srcColour), to = end(dst, dstColour);
    std::string error = prepare(from, to, threads);
    if (!error.empty()) return error;
    const int result = sws_scale_frame(context_.get(), &dst, &src);
    return result < 0 ? "cannot convert the picture: " + avErrorText(result) : "";
}

}  // namespace sorvel::cli
