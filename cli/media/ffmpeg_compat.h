// The few FFmpeg calls whose form changed between FFmpeg 5.1 (Debian 12)
// and 7.1 (Debian 13): each helper takes the newer interface where the
// libraries' version says it exists, and the older one before it.
#pragma once

#include <cstdint>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

// AVFrame::duration replaced pkt_duration (libavutil 57.30, FFmpeg 6.0).
#define SORVEL_AV_FRAME_DURATION (LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100))
// Stream side data moved into AVCodecParameters (libavcodec 60.30, FFmpeg 6.1).
#define SORVEL_AV_CODED_SIDE_DATA (LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 30, 100))
// avcodec_get_supported_config() replaced AVCodec::pix_fmts, sample_fmts, supported_samplerates
// and ch_layouts (libavcodec 61.13, FFmpeg 7.1).
#define SORVEL_AV_SUPPORTED_CONFIG (LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100))

namespace sorvel::cli {

inline std::int64_t frameDuration(const AVFrame& frame) {
#if SORVEL_AV_FRAME_DURATION
    return frame.duration;
#else
    return frame.pkt_duration;
#endif
}

inline void setFrameDuration(AVFrame& frame, std::int64_t duration) {
#if SORVEL_AV_FRAME_DURATION
    frame.duration = duration;
#else
    frame.pkt_duration = duration;
#endif
}

#if SORVEL_AV_SUPPORTED_CONFIG
// The list of one kind of setting the encoder takes, as
// avcodec_get_supported_config() gives it; nullptr when it takes any.
template <class T>
const T* encoderSupports(const AVCodec* encoder, AVCodecConfig config) {
    const void* list = nullptr;
    int count = 0;
    if (avcodec_get_supported_config(nullptr, encoder, config, 0, &list, &count) < 0) return nullptr;
    return static_cast<const T*>(list);
}
#endif

// The pixel formats the encoder takes, ended by AV_PIX_FMT_NONE; nullptr
// when it takes any.
inline const AVPixelFormat* encoderPixelFormats(const AVCodec* encoder) {
#if SORVEL_AV_SUPPORTED_CONFIG
    return encoderSupports<AVPixelFormat>(encoder, AV_CODEC_CONFIG_PIX_FORMAT);
#else
    return encoder->pix_fmts;
#endif
}

// The sample formats, sample rates and channel layouts the encoder takes,
// ended by AV_SAMPLE_FMT_NONE, 0 and a layout of no channels; nullptr when
// it takes any.
inline const AVSampleFormat* encoderSampleFormats(const AVCodec* encoder) {
#if SORVEL_AV_SUPPORTED_CONFIG
    return encoderSupports<AVSampleFormat>(encoder, AV_CODEC_CONFIG_SAMPLE_FORMAT);
#else
    return encoder->sample_fmts;
#endif
}

inline const int* encoderSampleRates(const AVCodec* encoder) {
#if SORVEL_AV_SUPPORTED_CONFIG
    return encoderSupports<int>(encoder, AV_CODEC_CONFIG_SAMPLE_RATE);
#else
    return encoder->supported_samplerates;
#endif
}

inline const AVChannelLayout* encoderChannelLayouts(const AVCodec* encoder) {
#if SORVEL_AV_SUPPORTED_CONFIG
    return encoderSupports<AVChannelLayout>(encoder, AV_CODEC_CONFIG_CHANNEL_LAYOUT);
#else
    return encoder->ch_layouts;
#endif
}

// Adds each side data item of from's stream (a display matrix, HDR
// metadata) to to's.
inline void copyStreamSideData(const AVStream& from, AVStream& to) {
#if SORVEL_AV_CODED_SIDE_DATA
    const AVCodecParameters& source = *from.codecpar;
    AVCodecParameters& target = *to.codecpar;
    for (int i = 0; i < source.nb_coded_side_data; ++i) {
        const AVPacketSideData& sd = source.coded_side_data[i];
        if (AVPacketSideData* copy = av_packet_side_data_new(&target.coded_side_data, &target.nb_coded_side_data,
                                                             sd.type, sd.size, 0))
            std::memcpy(copy->data, sd.data, sd.size);
    }
#else
    for (int i = 0; i < from.nb_side_data; ++i) {
        const AVPacketSideData& sd = from.side_data[i];
        if (std::uint8_t* data = av_stream_new_side_data(&to, sd.type, sd.size)) std::memcpy(data, sd.data, sd.size);
    }
#endif
}

// The stream's side data item of this type, or nullptr.
inline const std::uint8_t* streamSideData(const AVStream& stream, AVPacketSideDataType type) {
#if SORVEL_AV_CODED_SIDE_DATA
    const AVPacketSideData* sd = av_packet_side_data_get(stream.codecpar->coded_side_data,
                                                         stream.codecpar->nb_coded_side_data, type);
    return sd != nullptr ? sd->data : nullptr;
#else
    return av_stream_get_side_data(&stream, type, nullptr);
#endif
}

}  // namespace sorvel::cli
