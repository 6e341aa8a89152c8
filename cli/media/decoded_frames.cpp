#include "cli/media/decoded_frames.h"

#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "cli/media/lossless_output.h"

namespace sorvel::cli {
namespace {

YuvColour colourOf(const AVFrame& f, AVCodecID codec) {
    return yuvColourOf(f.colorspace, f.color_range, static_cast<AVPixelFormat>(f.format), codec, f.width, f.height);
}

bool anyTransparent(const AVFrame& bgra) {
    for (int y = 0; y < bgra.height; ++y) {
        const std::uint8_t* row = bgra.data[0] + static_cast<std::ptrdiff_t>(y) * bgra.linesize[0];
        for (int x = 0; x < bgra.width; ++x)
            if (row[4 * x + 3] != 0xFF) return true;
    }
    return false;
}

// RGB and grey pictures deeper than 8 bits (16-bit PNG and TIFF): swscale
// (FFmpeg 5.1) rounds some exact levels up by one on the way to 8 bits, so
// each sample is read as stored and rounded to the nearest 8-bit level here.
bool isDeepRgbOrGrey(AVPixelFormat format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    return d != nullptr && !isYuv(format) && bitDepthOf(format) > 8 &&
           (d->flags &
            (AV_PIX_FMT_FLAG_FLOAT | AV_PIX_FMT_FLAG_BAYER | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_PAL)) == 0;
}

void reduceDeepRgbOrGrey(const AVFrame& deep, AVFrame& bgra) {
    const auto* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(deep.format));
    const bool grey = d->nb_components < 3;
    const int alphaComponent = (d->flags & AV_PIX_FMT_FLAG_ALPHA) != 0 ? d->nb_components - 1 : -1;
    std::vector<std::uint16_t> samples(static_cast<std::size_t>(deep.width));
    const int byteOfComponent[4] = {2, 1, 0, 3};  // R, G, B, A into B, G, R, A memory order
    for (int y = 0; y < deep.height; ++y) {
        std::uint8_t* row = bgra.data[0] + static_cast<std::ptrdiff_t>(y) * bgra.linesize[0];
        for (int c = 0; c < 4; ++c) {
            const int component = c == 3 ? alphaComponent : grey ? 0 : c;
            if (component < 0) {
                for (int x = 0; x < deep.width; ++x) row[4 * x + 3] = 0xFF;
                continue;
            }
            av_read_image_line2(samples.data(), const_cast<const std::uint8_t**>(deep.data), deep.linesize, d, 0, y,
                                component, deep.width, 0, 2);
            const std::uint32_t top = (1u << d->comp[component].depth) - 1;
            for (int x = 0; x < deep.width; ++x)
                row[4 * x + byteOfComponent[c]] = static_cast<std::uint8_t>(
                    (samples[static_cast<std::size_t>(x)] * 255u + top / 2) / top);
        }
    }
}

}  // namespace

std::string FrameToBgra::convert(const AVFrame& decoded, AVCodecID codec, int threads,
                                 std::vector<std::string>& warnings) {
    AVFrame& out = *bgra_;
    if (out.buf[0] == nullptr || out.width != decoded.width || out.height != decoded.height) {
        if (!first_) return "the picture size changes, which sorvel does not follow";
        out.format = AV_PIX_FMT_BGRA;
        out.width = decoded.width;
        out.height = decoded.height;
        const int error = av_frame_get_buffer(&out, 0);
        if (error < 0) return avErrorText(error);
    }
    std::string cause;
    if (isDeepRgbOrGrey(static_cast<AVPixelFormat>(decoded.format)))
        reduceDeepRgbOrGrey(decoded, out);
    else
        cause = scaler_.convert(decoded, colourOf(decoded, codec), out, YuvColour{}, threads);
    if (!cause.empty() || !first_) return cause;
    first_ = false;
    const auto format = static_cast<AVPixelFormat>(decoded.format);
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    // Palette formats count as having alpha, and so do GIF's decoded
    // frames; their pictures have it when a colour in use is transparent.
    const bool palette = d != nullptr && ((d->flags & AV_PIX_FMT_FLAG_PAL) != 0 || codec == AV_CODEC_ID_GIF);
    alpha_ = d != nullptr && (palette ? anyTransparent(out) : (d->flags & AV_PIX_FMT_FLAG_ALPHA) != 0);
    const int depth = bitDepthOf(format);
    if (depth > 8)
        warnings.push_back("its pictures have " + std::to_string(depth) +
                           " bits per channel; the filters work on 8, so the output has 8");
    return "";
}

VideoSource videoSourceOf(const MediaInput& input, const AVFrame& first, bool alpha) {
    const AVStream& s = input.stream();
    VideoSource v;
    v.width = first.width;
    v.height = first.height;
    v.format = static_cast<AVPixelFormat>(first.format);
    v.alpha = alpha;
    v.codec = input.isPicture() ? AV_CODEC_ID_NONE : input.codec();  // a picture's codec is no video's
    v.timeBase = s.time_base;
    v.frameRate = s.avg_frame_rate.num > 0 ? s.avg_frame_rate : s.r_frame_rate;
    if (v.frameRate.num <= 0 || v.frameRate.den <= 0) v.frameRate = AVRational{25, 1};
    v.aspect = first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : s.sample_aspect_ratio;
    v.primaries = first.color_primaries;
    v.transfer = first.color_trc;
    v.chromaLocation = first.chroma_location;
    v.colour = colourOf(first, input.codec());
    v.stream = &s;
    v.lossless = codedLosslessly(input.codec(), v.format);
    v.onePicture = holdsOnePicture(input);
    return v;
}

}  // namespace sorvel::cli
