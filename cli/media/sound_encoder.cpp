#include "cli/media/sound_encoder.h"

#include <cstdlib>

#include "cli/media/ffmpeg_compat.h"
#include "cli/media/filter_graph.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace sorvel::cli {
namespace {

AVSampleFormat chooseSampleFormat(const AVCodec* encoder, AVSampleFormat source) {
    const AVSampleFormat* formats = encoderSampleFormats(encoder);
    if (formats == nullptr) return source;
    for (const AVSampleFormat* f = formats; *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == source) return source;
    return formats[0];
}

// The source's rate where the encoder takes it, else the nearest it takes.
int chooseSampleRate(const AVCodec* encoder, int source) {
    const int* rates = encoderSampleRates(encoder);
    if (rates == nullptr || rates[0] == 0) return source;
    int best = rates[0];
    for (const int* r = rates; *r != 0; ++r)
        if (std::abs(*r - source) < std::abs(best - source)) best = *r;
    return best;
}

// The source's layout where the encoder takes it, else one of as many
// channels, else the encoder's first. A layout of unnamed channels counts
// as the usual one of that many.
std::string chooseLayout(const AVCodec* encoder, const AVChannelLayout& source, AVChannelLayout& chosen) {
    AVChannelLayout wanted{};
    if (source.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&wanted, source.nb_channels);
    else if (av_channel_layout_copy(&wanted, &source) < 0)
        return "out of memory";
    const AVChannelLayout* layouts = encoderChannelLayouts(encoder);
    const AVChannelLayout* pick = &wanted;
    if (layouts != nullptr && layouts[0].nb_channels > 0) {
        pick = nullptr;
        for (const AVChannelLayout* l = layouts; l->nb_channels > 0 && pick == nullptr; ++l)
            if (av_channel_layout_compare(l, &wanted) == 0) pick = l;
        for (const AVChannelLayout* l = layouts; l->nb_channels > 0 && pick == nullptr; ++l)
            if (l->nb_channels == wanted.nb_channels) pick = l;
        if (pick == nullptr) pick = layouts;
    }
    const int error = av_channel_layout_copy(&chosen, pick);
    av_channel_layout_uninit(&wanted);
    return error < 0 ? avErrorText(error) : "";
}

std::string describe(const AVChannelLayout& layout) {
    char text[128] = "";
    av_channel_layout_describe(&layout, text, sizeof text);
    return text;
}

std::string rational(AVRational r) { return std::to_string(r.num) + "/" + std::to_string(r.den); }

}  // namespace

SoundEncoder::~SoundEncoder() { avfilter_graph_free(&graph_); }

const char* SoundEncoder::encoderName() const { return encoder_ ? encoder_->codec->name : ""; }

AVRational SoundEncoder::timeBase() const { return encoder_->time_base; }

std::string SoundEncoder::open(const AVStream& in, AVFormatContext& output, const std::string& path) {
    const AVCodecParameters& par = *in.codecpar;
    const AVCodec* decoder = avcodec_find_decoder(par.codec_id);
    if (decoder == nullptr) return "this FFmpeg cannot decode it";
    const AVCodecID id = av_guess_codec(output.oformat, nullptr, path.c_str(), nullptr, AVMEDIA_TYPE_AUDIO);
    const AVCodec* codec = id != AV_CODEC_ID_NONE ? avcodec_find_encoder(id) : nullptr;
    if (codec == nullptr) return "this FFmpeg has no sound encoder for the format";
    if (par.sample_rate <= 0 || par.ch_layout.nb_channels <= 0) return "its sample rate or channels are unknown";
    decoder_.reset(avcodec_alloc_context3(decoder));
    encoder_.reset(avcodec_alloc_context3(codec));
    decoded_.reset(av_frame_alloc());
    converted_.reset(av_frame_alloc());
    encoded_.reset(av_packet_alloc());
    if (!decoder_ || !encoder_ || !decoded_ || !converted_ || !encoded_) return "out of memory";
    int error = avcodec_parameters_to_context(decoder_.get(), &par);
    if (error < 0) return avErrorText(error);
    decoder_->pkt_timebase = in.time_base;
    inputTimeBase_ = in.time_base;
    error = avcodec_open2(decoder_.get(), decoder, nullptr);
    if (error < 0) return "cannot decode it: " + avErrorText(error);

    AVCodecContext& e = *encoder_;
    e.sample_fmt = chooseSampleFormat(codec, static_cast<AVSampleFormat>(par.format));
    e.sample_rate = chooseSampleRate(codec, par.sample_rate);
    std::string cause = chooseLayout(codec, par.ch_layout, e.ch_layout);
    if (!cause.empty()) return cause;
    e.time_base = AVRational{1, e.sample_rate};
    if ((output.oformat->flags & AVFMT_GLOBALHEADER) != 0) e.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    error = avcodec_open2(&e, codec, nullptr);
    if (error < 0) return std::string("cannot encode it with ") + codec->name + ": " + avErrorText(error);

    AVStream* out = avformat_new_stream(&output, nullptr);
    if (out == nullptr) return "out of memory";
    error = avcodec_parameters_from_context(out->codecpar, &e);
    if (error < 0) return avErrorText(error);
    out->time_base = e.time_base;
    out->disposition = in.disposition;
    av_dict_copy(&out->metadata, in.metadata, 0);
    av_dict_set(&out->metadata, "encoder", nullptr, 0);
    stream_ = out->index;
    return "";
}

// abuffer -> aformat -> abuffersink, from the decoded frames' form to the
// encoder's, in frames of the encoder's size where it takes no other.
std::string SoundEncoder::openGraph(const AVFrame& first) {
    AVChannelLayout layout{};
    if (first.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, first.ch_layout.nb_channels);
    else if (av_channel_layout_copy(&layout, &first.ch_layout) < 0)
        return "out of memory";
    const std::string args = "time_base=" + rational(inputTimeBase_) +
                             ":sample_rate=" + std::to_string(first.sample_rate) +
                             ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(first.format)) +
                             ":channel_layout=" + describe(layout);
    av_channel_layout_uninit(&layout);
    const AVCodecContext& e = *encoder_;
    const std::string format = std::string("aformat=sample_fmts=") + av_get_sample_fmt_name(e.sample_fmt) +
                               ":sample_rates=" + std::to_string(e.sample_rate) +
                               ":channel_layouts=" + describe(e.ch_layout);
    std::string cause = openFilterGraph(graph_, "abuffer", args, "abuffersink", format, source_, sink_);
    if (!cause.empty()) return cause;
    if (e.frame_size > 0 && (e.codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) == 0)
        av_buffersink_set_frame_size(sink_, static_cast<unsigned>(e.frame_size));
    return "";
}

std::string SoundEncoder::add(const AVPacket* packet, const Write& write) {
    int error = avcodec_send_packet(decoder_.get(), packet);
    if (error < 0 && error != AVERROR_EOF) return "cannot decode its sound: " + avErrorText(error);
    for (;;) {
        error = avcodec_receive_frame(decoder_.get(), decoded_.get());
        if (error == AVERROR(EAGAIN)) return "";
        if (error == AVERROR_EOF) break;
        if (error < 0) return "cannot decode its sound: " + avErrorText(error);
        std::string cause = filter(decoded_.get(), write);
        av_frame_unref(decoded_.get());
        if (!cause.empty()) return cause;
    }
    std::string cause = graph_ != nullptr ? filter(nullptr, write) : "";
    return cause.empty() ? encode(nullptr, write) : cause;
}

std::string SoundEncoder::filter(AVFrame* decoded, const Write& write) {
    if (decoded != nullptr) {
        if (graph_ == nullptr) {
            std::string cause = openGraph(*decoded);
            if (!cause.empty()) return cause;
        }
        // Frames without a time follow the one before.
        decoded->pts = decoded->best_effort_timestamp != AV_NOPTS_VALUE ? decoded->best_effort_timestamp : nextPts_;
        if (decoded->pts != AV_NOPTS_VALUE)
            nextPts_ = decoded->pts +
                       av_rescale_q(decoded->nb_samples, AVRational{1, decoded->sample_rate}, inputTimeBase_);
        if (decoded->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            const int channels = decoded->ch_layout.nb_channels;
            av_channel_layout_uninit(&decoded->ch_layout);
            av_channel_layout_default(&decoded->ch_layout, channels);
        }
    }
    int error = av_buffersrc_add_frame_flags(source_, decoded, 0);
    if (error < 0) return "cannot convert its sound: " + avErrorText(error);
    const AVRational sinkTimeBase = av_buffersink_get_time_base(sink_);
    for (;;) {
        error = av_buffersink_get_frame(sink_, converted_.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return "";
        if (error < 0) return "cannot convert its sound: " + avErrorText(error);
        if (converted_->pts != AV_NOPTS_VALUE)
            converted_->pts = av_rescale_q(converted_->pts, sinkTimeBase, encoder_->time_base);
        std::string cause = encode(converted_.get(), write);
        av_frame_unref(converted_.get());
        if (!cause.empty()) return cause;
    }
}

std::string SoundEncoder::encode(const AVFrame* frame, const Write& write) {
    int error = avcodec_send_frame(encoder_.get(), frame);
    if (error < 0) return std::string("cannot encode its sound with ") + encoderName() + ": " + avErrorText(error);
    for (;;) {
        error = avcodec_receive_packet(encoder_.get(), encoded_.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return "";
        if (error < 0) return std::string("cannot encode its sound with ") + encoderName() + ": " + avErrorText(error);
        std::string cause = write(*encoded_);
        av_packet_unref(encoded_.get());
        if (!cause.empty()) return cause;
    }
}

}  // namespace sorvel::cli
