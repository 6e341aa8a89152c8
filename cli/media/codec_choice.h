// Which encoder, quality and pixel format a written video or picture gets.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/media/av_handles.h"
#include "cli/media/speed.h"

namespace sorvel::cli {

struct EncodeSettings {
    std::string codec;  // an encoder's name, or "" to choose
    int crf = -1;       // -1: the default, 18
    bool lossless = false;
    Speed speed = Speed::medium;  // the encoder's preset
    bool quiet = false;           // the encoder's own messages: errors only
};

constexpr int kDefaultCrf = 18;
constexpr int kDefaultQuantiser = 2;  // for the codecs with a fixed quantiser (MPEG-4, JPEG)
constexpr int kTheoraQuality = 8;     // of libtheora's 0 to 10

struct EncoderChoice {
    const AVCodec* encoder = nullptr;
    std::vector<std::pair<std::string, std::string>> options;  // the encoder's own, e.g. crf 18
    int quantiser = 0;                                         // a fixed quantiser; 0 none
    std::string error;                                         // when no encoder fits
};

// Whether the container takes this codec: the codecs it lists; MPEG-TS
// lists none but carries the usual ones.
bool containerHolds(const AVOutputFormat* format, AVCodecID id);

// Whether the container stores single pictures or numbered sequences of them
// (PNG, JPEG, TIFF, BMP ... files).
bool isPictureContainer(const AVOutputFormat* format);

// The encoder for a file named path in this container, whose source video
// was coded with source (AV_CODEC_ID_NONE when there is none): the codec
// asked for; or FFV1 (MKV) or PNG when lossless; or the source's own codec
// family where the container holds it (unless its encoder is one of the
// slow ones of encoder_settings.h), else the container's usual codec (the
// extension's for pictures). Lossy codecs get a high quality: CRF 18
// or the given CRF where the encoder has a CRF, quality 90 of 100 for WebP,
// otherwise quantiser 2.
EncoderChoice chooseEncoder(const AVOutputFormat* format, const std::string& path, AVCodecID source,
                            const EncodeSettings& settings);

// The encoder's pixel format closest to 8-bit frames like the source's: its
// chroma subsampling for YUV sources, RGB otherwise, with alpha where the
// source has it. Grey and palette formats are never chosen, since the
// filters make colour. AV_PIX_FMT_NONE when the encoder takes none of these.
AVPixelFormat chooseOutputFormat(const AVCodec* encoder, AVPixelFormat source, bool alpha);

}  // namespace sorvel::cli
