#include "cli/media/lossless_output.h"

#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "cli/media/media_input.h"

namespace sorvel::cli {
namespace {

int propsOf(AVCodecID codec) {
    const AVCodecDescriptor* d = avcodec_descriptor_get(codec);
    return d != nullptr ? d->props : 0;
}

bool endsWith(const char* text, const char* end) {
    const std::size_t n = std::strlen(text), m = std::strlen(end);
    return n >= m && std::strcmp(text + n - m, end) == 0;
}

}  // namespace

bool codedLosslessly(AVCodecID codec, AVPixelFormat decoded) {
    const int props = propsOf(codec);
    if ((props & AV_CODEC_PROP_LOSSLESS) == 0) return false;
    if ((props & AV_CODEC_PROP_LOSSY) == 0) return true;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(decoded);
    return d != nullptr && (d->flags & AV_PIX_FMT_FLAG_RGB) != 0 && (d->flags & AV_PIX_FMT_FLAG_PAL) == 0;
}

bool holdsOnePicture(const MediaInput& input) {
    // A lone picture file is read by a "..._pipe" reader; numbered sequences
    // and animations by others.
    const AVInputFormat* reader = input.format().iformat;
    return (reader != nullptr && endsWith(reader->name, "_pipe")) || input.stream().nb_frames == 1;
}

void fitToSource(EncoderChoice& choice, bool named, bool losslessSource, bool onePicture) {
    if (choice.encoder == nullptr || choice.encoder->id != AV_CODEC_ID_WEBP) return;
    if (!named) {
        const AVCodec* webp = avcodec_find_encoder_by_name(onePicture ? "libwebp" : "libwebp_anim");
        if (webp != nullptr) choice.encoder = webp;
    }
    if (losslessSource) choice.options.emplace_back("lossless", "1");
}

bool encodesLosslessly(const EncoderChoice& choice) {
    if (choice.encoder == nullptr) return false;
    const int props = propsOf(choice.encoder->id);
    if ((props & AV_CODEC_PROP_LOSSLESS) != 0 && (props & AV_CODEC_PROP_LOSSY) == 0) return true;
    if (choice.encoder->id == AV_CODEC_ID_TIFF) return true;  // its encoder has only lossless compressions
    for (const auto& [name, value] : choice.options)
        if (name == "lossless" && value == "1") return true;
    return false;
}

}  // namespace sorvel::cli
