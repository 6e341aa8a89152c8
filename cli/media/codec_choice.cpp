#include "cli/media/codec_choice.h"

#include <cstring>
#include <utility>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include "cli/media/colour.h"
#include "cli/media/encoder_settings.h"
#include "cli/media/ffmpeg_compat.h"
#include "cli/media/muxer_check.h"

namespace sorvel::cli {
namespace {

// The encoders FFmpeg prefers for a codec are not always the best kept ones.
const AVCodec* familyEncoder(AVCodecID id) {
    struct Preferred {
        AVCodecID id;
        const char* names[2];
    };
    static const Preferred preferred[] = {
        {AV_CODEC_ID_H264, {"libx264", nullptr}},       {AV_CODEC_ID_HEVC, {"libx265", nullptr}},
        {AV_CODEC_ID_VP8, {"libvpx", nullptr}},         {AV_CODEC_ID_VP9, {"libvpx-vp9", nullptr}},
        {AV_CODEC_ID_AV1, {"libsvtav1", "libaom-av1"}}, {AV_CODEC_ID_PRORES, {"prores_ks", nullptr}},
        {AV_CODEC_ID_MPEG4, {"mpeg4", nullptr}},
    };
    for (const Preferred& p : preferred) {
        if (p.id != id) continue;
        for (const char* name : p.names)
            if (const AVCodec* c = name != nullptr ? avcodec_find_encoder_by_name(name) : nullptr) return c;
    }
    return avcodec_find_encoder(id);
}

bool hasOption(const AVCodec* encoder, const char* name) {
    // av_opt_find takes the class's address as a fake object and only reads it.
    const AVClass* options = encoder->priv_class;
    return options != nullptr && av_opt_find(&options, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

std::string extensionOf(const std::string& path) {
    const std::size_t dot = path.rfind('.'), slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot);
}

void chooseQuality(EncoderChoice& choice, const EncodeSettings& settings) {
    const AVCodecDescriptor* d = avcodec_descriptor_get(choice.encoder->id);
    if (hasOption(choice.encoder, "crf")) {
        choice.options.emplace_back("crf", std::to_string(settings.crf >= 0 ? settings.crf : kDefaultCrf));
    } else if (settings.crf >= 0) {
        choice.error = std::string("--crf: the encoder ") + choice.encoder->name + " has no CRF setting";
    } else if (choice.encoder->id == AV_CODEC_ID_WEBP) {
        choice.options.emplace_back("quality", "90");
    } else if (choice.encoder->id == AV_CODEC_ID_THEORA) {
        // Theora's scale runs the other way, 0 to 10 best; at low quality
        // it skips frames that barely change.
        choice.quantiser = kTheoraQuality;
    } else if (d != nullptr && (d->props & AV_CODEC_PROP_LOSSY) != 0 &&
               (choice.encoder->capabilities & AV_CODEC_CAP_EXPERIMENTAL) == 0) {
        choice.quantiser = kDefaultQuantiser;
    }
}

}  // namespace

bool containerHolds(const AVOutputFormat* format, AVCodecID id) {
    const int known = avformat_query_codec(format, id, FF_COMPLIANCE_NORMAL);
    return known == 1 || (known < 0 && std::strcmp(format->name, "mpegts") == 0);
}

bool isPictureContainer(const AVOutputFormat* format) { return std::strcmp(format->name, "image2") == 0; }

EncoderChoice chooseEncoder(const AVOutputFormat* format, const std::string& path, AVCodecID source,
                            const EncodeSettings& settings) {
    EncoderChoice choice;
    const auto refuse = [](std::string message) { return EncoderChoice{nullptr, {}, 0, std::move(message)}; };
    const bool pictures = isPictureContainer(format);
    const AVCodecID usual = av_guess_codec(format, nullptr, path.c_str(), nullptr, AVMEDIA_TYPE_VIDEO);
    std::string extension = extensionOf(path);
    if (extension.empty()) extension = "(no extension)";
    if (!settings.codec.empty()) {
        choice.encoder = avcodec_find_encoder_by_name(settings.codec.c_str());
        if (choice.encoder == nullptr || choice.encoder->type != AVMEDIA_TYPE_VIDEO)
            return refuse("there is no video encoder named " + settings.codec + " (ffmpeg -encoders lists them)");
        // A container that lists its codecs must list this one; a picture file
        // holds its extension's codec.
        const bool refused = pictures ? choice.encoder->id != usual
                                      : avformat_query_codec(format, choice.encoder->id, FF_COMPLIANCE_NORMAL) == 0;
        if (refused) return refuse("a " + extension + " file cannot hold " + settings.codec);
    } else if (settings.lossless) {
        if (std::strcmp(format->name, "matroska") == 0)
            choice.encoder = avcodec_find_encoder(AV_CODEC_ID_FFV1);
        else if (pictures && usual == AV_CODEC_ID_PNG)
            choice.encoder = avcodec_find_encoder(AV_CODEC_ID_PNG);
        else
            return refuse("--lossless writes FFV1 video into .mkv files or PNG pictures, not " + extension);
        return choice;
    } else {
        if (source != AV_CODEC_ID_NONE && !pictures && containerHolds(format, source) &&
            muxerTakesVideo(format, source) && !encodesSlowly(source))
            choice.encoder = familyEncoder(source);
        if (choice.encoder == nullptr && usual != AV_CODEC_ID_NONE) choice.encoder = familyEncoder(usual);
        if (choice.encoder == nullptr) return refuse("no encoder here writes " + extension + " files");
    }
    chooseQuality(choice, settings);
    return choice.error.empty() ? choice : refuse(choice.error);
}

AVPixelFormat chooseOutputFormat(const AVCodec* encoder, AVPixelFormat source, bool alpha) {
    // The 8-bit format of the source's kind: yuv420p for yuv420p10le, rgb24 for grey.
    AVPixelFormat wanted = alpha ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB24;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(source);
    if (isYuv(source) && d != nullptr) {
        const char* subsampling[3][3] = {{"444", "440", ""}, {"422", "420", ""}, {"411", "", "410"}};
        const int w = d->log2_chroma_w, h = d->log2_chroma_h;
        const char* s = w <= 2 && h <= 2 ? subsampling[w][h] : "";
        AVPixelFormat yuv = av_get_pix_fmt((std::string(alpha ? "yuva" : "yuv") + s + "p").c_str());
        if (yuv == AV_PIX_FMT_NONE) yuv = av_get_pix_fmt((std::string("yuv") + s + "p").c_str());
        if (*s != '\0' && yuv != AV_PIX_FMT_NONE) wanted = yuv;
    }
    const AVPixelFormat* const taken = encoderPixelFormats(encoder);
    std::vector<AVPixelFormat> colour;
    for (const AVPixelFormat* f = taken; f != nullptr && *f != AV_PIX_FMT_NONE; ++f) {
        const AVPixFmtDescriptor* e = av_pix_fmt_desc_get(*f);
        if (e != nullptr && e->nb_components >= 3 &&
            (e->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)) == 0)
            colour.push_back(*f);
    }
    if (taken == nullptr) return wanted;  // an encoder that takes any format
    if (colour.empty()) return AV_PIX_FMT_NONE;
    colour.push_back(AV_PIX_FMT_NONE);
    return avcodec_find_best_pix_fmt_of_list(colour.data(), wanted, alpha ? 1 : 0, nullptr);
}

}  // namespace sorvel::cli
