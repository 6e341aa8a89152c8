#include "cli/media/media_output.h"

#include "cli/media/encoder_settings.h"
#include "cli/media/ffmpeg_compat.h"
#include "cli/media/frame_layout.h"
#include "cli/media/lossless_output.h"
#include "cli/media/muxer_check.h"

#include <cstring>
#include <utility>

extern "C" {
#include <libavutil/display.h>
#include <libavutil/pixdesc.h>
}

namespace sorvel::cli {
namespace {

const char* kindOf(AVMediaType type) {
    const char* name = av_get_media_type_string(type);
    return name != nullptr ? name : "data";
}

// MPEG-1, 2 and 4 part 2 and their relatives count time in frames (at most
// 16 bits of them).
bool countsFramesInCodec(AVCodecID id) {
    return id == AV_CODEC_ID_MPEG1VIDEO || id == AV_CODEC_ID_MPEG2VIDEO || id == AV_CODEC_ID_MPEG4 ||
           id == AV_CODEC_ID_H263 || id == AV_CODEC_ID_H263P || id == AV_CODEC_ID_MSMPEG4V2 ||
           id == AV_CODEC_ID_MSMPEG4V3;
}

// Only QuickTime's family (MOV, MP4) stores a display rotation here.
bool storesRotation(const AVOutputFormat& format) {
    for (const char* name : {"mov", "mp4", "3gp", "3g2", "ipod", "ismv", "psp", "f4v"})
        if (std::strcmp(format.name, name) == 0) return true;
    return false;
}

// AVI counts time in frames: its streams tick once per frame.
bool countsFrames(const AVOutputFormat& format) { return std::strcmp(format.name, "avi") == 0; }

// Copies frame into the larger padded, repeating its last column and row.
void padEdges(const AVFrame& frame, AVFrame& padded) {
    for (int y = 0; y < padded.height; ++y) {
        const int from = y < frame.height ? y : frame.height - 1;
        const std::uint8_t* in = frame.data[0] + static_cast<std::ptrdiff_t>(from) * frame.linesize[0];
        std::uint8_t* out = padded.data[0] + static_cast<std::ptrdiff_t>(y) * padded.linesize[0];
        std::memcpy(out, in, static_cast<std::size_t>(frame.width) * 4);
        for (int x = frame.width; x < padded.width; ++x) std::memcpy(out + 4 * x, in + 4 * (frame.width - 1), 4);
    }
}

}  // namespace

MediaOutput::~MediaOutput() {
    if (format_ == nullptr) return;
    if ((format_->oformat->flags & AVFMT_NOFILE) == 0) avio_closep(&format_->pb);
    avformat_free_context(format_);
}

std::string MediaOutput::create(const std::string& path, const EncodeSettings& settings, int threads) {
    path_ = path;
    settings_ = settings;
    threads_ = threads;
    const AVOutputFormat* guess = av_guess_format(nullptr, path.c_str(), nullptr);
    if (guess == nullptr) return "no known file format has this name's extension";
    const int error = avformat_alloc_output_context2(&format_, guess, nullptr, nullptr);
    if (error < 0) return avErrorText(error);
    const bool pictures = isPictureContainer(guess);
    const bool sequence = pictures && !numberedName(path, 1).empty();
    single_ = pictures && !sequence;
    std::string cause = pending_.reserve(path, sequence);
    if (!cause.empty()) return cause;
    // "file:" keeps a name with a colon in it from being taken for a protocol.
    av_freep(&format_->url);
    format_->url = av_strdup(("file:" + pending_.temporary()).c_str());
    return format_->url != nullptr ? "" : "out of memory";
}

// Attachments go into Matroska only; other streams where the muxer takes
// them, as ffmpeg's stream copy finds out when it writes the header.
bool MediaOutput::holds(const AVCodecParameters& par) const {
    if (isPictureContainer(format_->oformat)) return false;
    if (par.codec_type == AVMEDIA_TYPE_ATTACHMENT) return std::strncmp(format_->oformat->name, "matroska", 8) == 0;
    return par.codec_id != AV_CODEC_ID_NONE && muxerTakes(format_->oformat, par, true);
}

void MediaOutput::copyStreams(const AVFormatContext& input, int videoIndex, std::vector<std::string>& warnings) {
    copies_.assign(input.nb_streams, -1);
    times_.reset(startShift(input, *format_->oformat), (format_->oformat->flags & AVFMT_TS_NONSTRICT) == 0);
    const bool pictures = isPictureContainer(format_->oformat);
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream& in = *input.streams[i];
        const AVCodecParameters& par = *in.codecpar;
        if (static_cast<int>(i) == videoIndex) {
            video_ = avformat_new_stream(format_, nullptr);
            if (video_ == nullptr) return;
            continue;
        }
        const bool held = holds(par);
        const AVCodecDescriptor* codec = avcodec_descriptor_get(par.codec_id);
        const std::string what = "stream " + std::to_string(i) + " (" + kindOf(par.codec_type) +
                                 (codec != nullptr ? std::string(", ") + codec->name : "") + ")";
        if (!held && par.codec_type == AVMEDIA_TYPE_AUDIO && !pictures) {
            auto sound = std::make_unique<SoundEncoder>();
            const std::string cause = sound->open(in, *format_, path_);
            if (!cause.empty()) {
                warnings.push_back(
                    std::string(what).append(" is left out: the output's format cannot hold it, and ").append(cause));
                continue;
            }
            warnings.push_back(std::string(what)
                                   .append(" is encoded with ")
                                   .append(sound->encoderName())
                                   .append(": the output's format cannot hold it as it is"));
            sounds_[static_cast<int>(i)] = std::move(sound);
            continue;
        }
        if (!held) {
            warnings.push_back(what + " is left out: the output's format cannot hold it");
            continue;
        }
        AVStream* out = avformat_new_stream(format_, nullptr);
        if (out == nullptr || avcodec_parameters_copy(out->codecpar, &par) < 0) continue;
        out->codecpar->codec_tag = 0;
        out->time_base = in.time_base;
        out->disposition = in.disposition;
        out->avg_frame_rate = in.avg_frame_rate;
        av_dict_copy(&out->metadata, in.metadata, 0);
        copyStreamSideData(in, *out);
        copies_[i] = out->index;
        if (par.codec_type == AVMEDIA_TYPE_VIDEO && (in.disposition & AV_DISPOSITION_ATTACHED_PIC) == 0)
            warnings.push_back(what + " is copied unfiltered: sorvel filters the first video stream");
    }
    if (pictures) return;
    av_dict_copy(&format_->metadata, input.metadata, 0);
    for (unsigned i = 0; i < input.nb_chapters; ++i) {
        const AVChapter& in = *input.chapters[i];
        auto* out = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (out == nullptr) return;
        out->id = in.id;
        out->time_base = in.time_base;
        out->start = in.start;
        out->end = in.end;
        av_dict_copy(&out->metadata, in.metadata, 0);
        auto* grown = static_cast<AVChapter**>(
            av_realloc_array(format_->chapters, format_->nb_chapters + 1, sizeof(AVChapter*)));
        if (grown == nullptr) {
            av_dict_free(&out->metadata);
            av_free(out);
            return;
        }
        format_->chapters = grown;
        format_->chapters[format_->nb_chapters++] = out;
    }
}

std::string MediaOutput::start(const VideoSource& source, std::vector<std::string>& warnings) {
    EncoderChoice choice = chooseEncoder(format_->oformat, path_, source.codec, settings_);
    if (!choice.error.empty()) return choice.error;
    fitToSource(choice, !settings_.codec.empty(), source.lossless, source.onePicture || single_);
    addSpeed(choice, settings_.speed);
    limitEncoderLogging(choice, settings_.quiet);
    const AVCodec* codec = choice.encoder;
    // Lossless output stores the filtered RGB frames themselves.
    const bool exact = settings_.lossless || (source.lossless && encodesLosslessly(choice));
    const bool gif = codec->id == AV_CODEC_ID_GIF;  // a palette of the frames' own colours
    AVPixelFormat pixels = gif ? AV_PIX_FMT_PAL8
                               : chooseOutputFormat(codec, exact ? AV_PIX_FMT_BGRA : source.format, source.alpha);
    if (pixels == AV_PIX_FMT_NONE) return std::string("the encoder ") + codec->name + " stores no colour pictures";
    // An .mp4 file by default is H.264 in 4:2:0, which every player plays.
    const bool playsEverywhere = std::strcmp(format_->oformat->name, "mp4") == 0 && settings_.codec.empty() &&
                                 !settings_.lossless && codec->id == AV_CODEC_ID_H264;
    if (playsEverywhere) pixels = subsampled420(codec, pixels);
    const FrameLayout layout = fitLayout(codec, pixels, source.width, source.height, !playsEverywhere);
    pixels = layout.format;
    if (!layout.warning.empty()) warnings.push_back(layout.warning);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(pixels);
    if (source.alpha && (desc->flags & AV_PIX_FMT_FLAG_ALPHA) == 0)
        warnings.push_back(std::string("the transparency is not kept: ") + codec->name + " writes " + desc->name +
                           ", which has no alpha");

    encoder_.reset(avcodec_alloc_context3(codec));
    if (!encoder_) return "out of memory";
    AVCodecContext& e = *encoder_;
    e.width = layout.width;
    e.height = layout.height;
    e.pix_fmt = pixels;
    e.sample_aspect_ratio = source.aspect;
    e.framerate = source.frameRate;
    sourceTimeBase_ = source.timeBase;
    e.time_base = source.timeBase;
    if (countsFrames(*format_->oformat) || countsFramesInCodec(codec->id)) e.time_base = av_inv_q(source.frameRate);
    if (isYuv(pixels)) {
        // YUV sources keep their matrix and range; others get what players
        // assume for untagged pictures of this size. JPEG is full range.
        colour_ = isYuv(source.format) ? source.colour
                                       : yuvColourOf(AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, pixels, codec->id,
                                                     source.width, source.height);
        if (codec->id == AV_CODEC_ID_MJPEG) colour_.fullRange = true;
        e.colorspace = colour_.matrix;
        e.color_range = colour_.fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
        if (isYuv(source.format)) e.chroma_sample_location = source.chromaLocation;
    } else {
        e.colorspace = AVCOL_SPC_RGB;
    }
    e.color_primaries = source.primaries;
    e.color_trc = source.transfer;
    e.thread_count = threads_ == 1 ? 1 : 0;  // 0: the codec's own choice, one per processor
    if ((format_->oformat->flags & AVFMT_GLOBALHEADER) != 0) e.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    for (const auto& [name, value] : choice.options) av_dict_set(&options, name.c_str(), value.c_str(), 0);
    if (!choice.options.empty()) e.bit_rate = 0;  // constant quality, no bit-rate cap
    if (choice.quantiser > 0) {
        e.flags |= AV_CODEC_FLAG_QSCALE;
        e.global_quality = FF_QP2LAMBDA * choice.quantiser;
    }
    int error = avcodec_open2(&e, codec, &options);
    av_dict_free(&options);
    if (error < 0) return std::string("cannot encode with ") + codec->name + ": " + avErrorText(error);
    if (gif) {
        gif_ = std::make_unique<GifPalette>();
        std::string cause = gif_->open(source.width, source.height, e.time_base, source.aspect);
        if (!cause.empty()) return cause;
    }

    if (video_ == nullptr) video_ = avformat_new_stream(format_, nullptr);
    if (video_ == nullptr) return "out of memory";
    error = avcodec_parameters_from_context(video_->codecpar, &e);
    if (error < 0) return avErrorText(error);
    video_->time_base = e.time_base;
    video_->avg_frame_rate = source.frameRate;
    video_->sample_aspect_ratio = source.aspect;
    if (source.stream != nullptr) {
        video_->disposition = source.stream->disposition;
        av_dict_copy(&video_->metadata, source.stream->metadata, 0);
        av_dict_set(&video_->metadata, "encoder", nullptr, 0);  // the old encoder no longer applies
        copyStreamSideData(*source.stream, *video_);
        const auto* matrix = reinterpret_cast<const std::int32_t*>(
            streamSideData(*source.stream, AV_PKT_DATA_DISPLAYMATRIX));
        if (matrix != nullptr && av_display_rotation_get(matrix) != 0 && !storesRotation(*format_->oformat))
            warnings.push_back("the display rotation is not kept: only MOV and MP4 files store it here");
    }

    if ((format_->oformat->flags & AVFMT_NOFILE) == 0) {
        error = avio_open(&format_->pb, format_->url, AVIO_FLAG_WRITE);
        if (error < 0) return avErrorText(error);
    }
    error = avformat_write_header(format_, nullptr);
    if (error < 0) return avErrorText(error);
    started_ = true;

    converted_.reset(av_frame_alloc());
    if (!converted_) return "out of memory";
    converted_->format = gif ? AV_PIX_FMT_BGRA : pixels;
    converted_->width = layout.width;
    converted_->height = layout.height;
    error = av_frame_get_buffer(converted_.get(), 0);
    if (error < 0) return avErrorText(error);
    if (layout.width != source.width || layout.height != source.height) {
        padded_.reset(av_frame_alloc());
        if (!padded_) return "out of memory";
        padded_->format = AV_PIX_FMT_BGRA;
        padded_->width = layout.width;
        padded_->height = layout.height;
        error = av_frame_get_buffer(padded_.get(), 0);
        if (error < 0) return avErrorText(error);
    }

    while (!early_.empty()) {
        const Early early = std::move(early_.front());
        early_.pop_front();
        std::string cause = writeCopy(*early.packet, early.timeBase);
        if (!cause.empty()) return cause;
    }
    return "";
}

bool MediaOutput::singlePicture() const {
    return single_ || (std::strcmp(format_->oformat->name, "webp") == 0 && frames_ <= 1);
}

bool MediaOutput::embedIccProfile(const std::string& profile) {
    if (!encoder_ || encoder_->codec_id != AV_CODEC_ID_PNG) return false;
    iccProfile_ = profile;
    return true;
}

std::string MediaOutput::writeFrame(const AVFrame& bgra) {
    if (single_ && frames_ >= 1)
        return "a single picture holds one frame and the input has more; name a numbered "
               "sequence such as frame%04d.png";
    int error = av_frame_make_writable(converted_.get());  // the encoder may still hold the last one
    if (error < 0) return avErrorText(error);
    if (padded_) padEdges(bgra, *padded_);
    std::string cause = scaler_.convert(padded_ ? *padded_ : bgra, YuvColour{}, *converted_, colour_, threads_);
    if (!cause.empty()) return cause;
    // In a coarser time base two frames may meet; each keeps a tick of its own.
    if (origin_ == AV_NOPTS_VALUE) origin_ = bgra.pts;
    std::int64_t pts = av_rescale_q(bgra.pts - origin_, sourceTimeBase_, encoder_->time_base);
    if (lastPts_ != AV_NOPTS_VALUE && pts != AV_NOPTS_VALUE && pts <= lastPts_) pts = lastPts_ + 1;
    lastPts_ = pts;
    converted_->pts = pts;
    setFrameDuration(*converted_, av_rescale_q(frameDuration(bgra), sourceTimeBase_, encoder_->time_base));
    if (frameDuration(*converted_) > 0) durations_[pts] = frameDuration(*converted_);
    converted_->sample_aspect_ratio = encoder_->sample_aspect_ratio;
    if (!iccProfile_.empty() && av_frame_get_side_data(converted_.get(), AV_FRAME_DATA_ICC_PROFILE) == nullptr) {
        AVFrameSideData* icc = av_frame_new_side_data(converted_.get(), AV_FRAME_DATA_ICC_PROFILE, iccProfile_.size());
        if (icc == nullptr) return "out of memory";
        std::memcpy(icc->data, iccProfile_.data(), iccProfile_.size());
    }
    ++frames_;
    return encodeAndWrite(converted_.get());
}

std::string MediaOutput::encodeAndWrite(const AVFrame* frame) {
    if (gif_ != nullptr) {
        if (frame != nullptr) return gif_->add(*frame);
        std::vector<FramePtr> mapped;
        std::string cause = gif_->finish(mapped);
        gif_.reset();
        for (const FramePtr& f : mapped)
            if (cause.empty()) cause = encodeAndWrite(f.get());
        if (!cause.empty()) return cause;
    }
    int error = avcodec_send_frame(encoder_.get(), frame);
    if (error < 0) return "cannot encode frame " + std::to_string(frames_) + ": " + avErrorText(error);
    const PacketPtr packet(av_packet_alloc());
    if (!packet) return "out of memory";
    for (;;) {
        error = avcodec_receive_packet(encoder_.get(), packet.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return "";
        if (error < 0) return "cannot encode: " + avErrorText(error);
        // Most encoders leave the duration of their packets to the muxer.
        const auto duration = durations_.find(packet->pts);
        if (duration != durations_.end()) {
            if (packet->duration == 0) packet->duration = duration->second;
            durations_.erase(duration);
        }
        std::string cause = writePacket(*packet, encoder_->time_base, video_->index);
        if (!cause.empty()) return cause;
    }
}

std::string MediaOutput::writeCopy(AVPacket& packet, AVRational timeBase) {
    const int index = packet.stream_index >= 0 && packet.stream_index < static_cast<int>(copies_.size())
                          ? copies_[static_cast<std::size_t>(packet.stream_index)]
                          : -1;
    const auto sound = sounds_.find(packet.stream_index);
    if (index < 0 && sound == sounds_.end()) return "";
    if (!started_) {
        PacketPtr kept(av_packet_clone(&packet));
        if (!kept) return "out of memory";
        early_.push_back({std::move(kept), timeBase});
        return "";
    }
    if (sound != sounds_.end()) {
        const std::string cause = writeSound(*sound->second, &packet);
        return cause.empty() ? "" : "stream " + std::to_string(sound->first) + ": " + cause;
    }
    return writePacket(packet, timeBase, index);
}

// Decodes and encodes a packet of sound (nullptr: the rest) and writes what
// the encoder gives.
std::string MediaOutput::writeSound(SoundEncoder& sound, const AVPacket* packet) {
    return sound.add(packet, [this, &sound](AVPacket& encoded) {
        return writePacket(encoded, sound.timeBase(), sound.streamIndex());
    });
}

std::string MediaOutput::writePacket(AVPacket& packet, AVRational from, int streamIndex) {
    packet.stream_index = streamIndex;
    const AVStream& stream = *format_->streams[streamIndex];
    av_packet_rescale_ts(&packet, from, stream.time_base);
    if (streamIndex == video_->index && origin_ != AV_NOPTS_VALUE) {
        const std::int64_t origin = av_rescale_q(origin_, sourceTimeBase_, stream.time_base);
        if (packet.pts != AV_NOPTS_VALUE) packet.pts += origin;
        if (packet.dts != AV_NOPTS_VALUE) packet.dts += origin;
    }
    times_.fix(packet, stream.time_base, stream.codecpar->codec_type);
    packet.pos = -1;
    if ((format_->oformat->flags & AVFMT_NOFILE) != 0) pending_.setWritten(++pictureFiles_);
    const int error = av_interleaved_write_frame(format_, &packet);
    return error < 0 ? avErrorText(error) : "";
}

std::string MediaOutput::finish(const std::function<std::string(const std::string&)>& beforeCommit) {
    std::string cause = encodeAndWrite(nullptr);
    for (const auto& [input, sound] : sounds_)
        if (cause.empty()) cause = writeSound(*sound, nullptr);
    if (!cause.empty()) return cause;
    if (converted_) keepLastDelay(*format_, frameDuration(*converted_), encoder_->time_base);
    int error = av_write_trailer(format_);
    if (error < 0) return avErrorText(error);
    if ((format_->oformat->flags & AVFMT_NOFILE) == 0) {
        error = avio_closep(&format_->pb);
        if (error < 0) return avErrorText(error);
    }
    if (singlePicture() && beforeCommit) {
        cause = beforeCommit(pending_.temporary());
        if (!cause.empty()) return cause;
    }
    return pending_.commit(pictureFiles_);
}

}  // namespace sorvel::cli
