#include "cli/media/media_input.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <vector>

#include "cli/files/output_file.h"
#include "cli/media/animated_webp.h"
#include "cli/media/cut_short.h"
#include "cli/media/ffmpeg_compat.h"

namespace sorvel::cli {
std::string MediaInput::open(const std::string& path, long long maxPixels, int threads) {
    path_ = path;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size == 0)
        return "the file is empty";
    AVFormatContext* opened = nullptr;
    int error = avformat_open_input(&opened, path.c_str(), nullptr, nullptr);
    if (error < 0) return avErrorText(error);
    format_.reset(opened);
    // The decoders that look into the streams keep to the limit too.
    std::vector<AVDictionary*> limits(opened->nb_streams, nullptr);
    if (maxPixels > 0)
        for (AVDictionary*& d : limits) av_dict_set_int(&d, "max_pixels", maxPixels, 0);
    error = avformat_find_stream_info(opened, limits.data());
    for (AVDictionary*& d : limits) av_dict_free(&d);
    if (error < 0) return avErrorText(error);
    for (unsigned i = 0; i < opened->nb_streams; ++i) {
        const AVStream& s = *opened->streams[i];
        if (s.codecpar->codec_type == AVMEDIA_TYPE_VIDEO && (s.disposition & AV_DISPOSITION_ATTACHED_PIC) == 0) {
            videoIndex_ = static_cast<int>(i);
            break;
        }
    }
    if (videoIndex_ < 0) return "it holds no video or picture";
    const AVCodecParameters& par = *stream().codecpar;
    const AVCodec* codec = avcodec_find_decoder(par.codec_id);
    if (codec == nullptr) {
        const AVCodecDescriptor* d = avcodec_descriptor_get(par.codec_id);
        return std::string("its video codec ") + (d != nullptr ? d->name : "(unknown)") + " is not supported";
    }
    if (par.width <= 0 || par.height <= 0) {
        if (par.codec_id == AV_CODEC_ID_WEBP && isAnimatedWebp(path))
            return "it is an animated WebP, which this FFmpeg's WebP decoder does not read (nor does "
                   "ffmpeg); turn its frames into pictures with another tool first";
        const std::string detail = libraryMessage();
        return "its picture data cannot be decoded" + (detail.empty() ? "" : " (" + detail + ")");
    }
    decoder_.reset(avcodec_alloc_context3(codec));
    packet_.reset(av_packet_alloc());
    if (!decoder_ || !packet_) return "out of memory";
    error = avcodec_parameters_to_context(decoder_.get(), &par);
    if (error < 0) return avErrorText(error);
    decoder_->pkt_timebase = stream().time_base;
    if (maxPixels > 0) decoder_->max_pixels = maxPixels;
    decoder_->thread_count = threads == 1 ? 1 : 0;  // 0: one per processor
    picture_ = std::strcmp(opened->iformat->name, "image2") == 0 ||
               std::strstr(opened->iformat->name, "_pipe") != nullptr;
    const AVCodecDescriptor* d = avcodec_descriptor_get(par.codec_id);
    if (d == nullptr || (d->props & AV_CODEC_PROP_INTRA_ONLY) == 0) {
        // A damaged video frame is an error rather than a concealed picture.
        decoder_->err_recognition |= AV_EF_EXPLODE;
    } else {
        // Pictures are decoded one at a time, on slice threads where the
        // codec has them. Frame threads would lose the errors of the last
        // frames, and FFmpeg 5.1's WebP decoder aborts on some damaged
        // files with them. Picture decoders stay lenient about what they
        // do not know (TIFF's refuses unknown tags under AV_EF_EXPLODE).
        decoder_->thread_type = FF_THREAD_SLICE;
    }
    error = avcodec_open2(decoder_.get(), codec, nullptr);
    return error < 0 ? avErrorText(error) : "";
}

bool MediaInput::singlePicture() const {
    // Picture files come through image2 (by extension) or a *_pipe demuxer
    // (by content).
    const char* name = format_->iformat->name;
    const std::size_t length = std::strlen(name);
    const bool pipe = length > 5 && std::strcmp(name + length - 5, "_pipe") == 0;
    return pipe || (std::strcmp(name, "image2") == 0 && numberedName(path_, 1).empty());
}

long MediaInput::expectedFrames() const {
    const AVStream& s = stream();
    if (s.nb_frames > 0) return static_cast<long>(s.nb_frames);
    const AVRational rate = s.avg_frame_rate.num > 0 ? s.avg_frame_rate : s.r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 0;
    double seconds = 0;
    if (s.duration > 0 && s.duration != AV_NOPTS_VALUE)
        seconds = static_cast<double>(s.duration) * av_q2d(s.time_base);
    else if (format_->duration > 0)
        seconds = static_cast<double>(format_->duration) / AV_TIME_BASE;
    return std::lround(seconds * av_q2d(rate));
}

// A lone picture that does not decode is named as such; a video's frame by
// its number and time.
std::string MediaInput::decodeFailure(int result) const {
    if (singlePicture()) return "the picture is cut short or damaged (" + avErrorText(result) + ")";
    return "cannot decode " + position(decoded_ + 1, lastTimestamp_) + ": " + avErrorText(result);
}

std::string MediaInput::position(long number, std::int64_t timestamp) const {
    if (timestamp == AV_NOPTS_VALUE) return "frame " + std::to_string(number);
    // The decoders work a few frames ahead of what they hand out, so the
    // frame is named by the time of the packet that failed, counted in
    // frames of the stream's rate where it has one.
    const AVStream& s = stream();
    const std::int64_t start = s.start_time != AV_NOPTS_VALUE ? s.start_time : 0;
    const double seconds = static_cast<double>(timestamp - start) * av_q2d(s.time_base);
    const AVRational rate = s.avg_frame_rate.num > 0 ? s.avg_frame_rate : s.r_frame_rate;
    if (rate.num > 0 && rate.den > 0) number = std::lround(seconds * av_q2d(rate)) + 1;
    char text[80];
    std::snprintf(text, sizeof text, "frame %ld (at %.3f s)", number, seconds);
    return text;
}

// Fewer frames than the container counts: the file is cut short, unless
// the frames reach the stream's end anyway (AVI counts the empty chunks
// that stand for dropped frames, which decode to nothing).
bool MediaInput::endsEarly() const {
    const AVStream& s = stream();
    if (s.nb_frames <= 0 || decoded_ >= s.nb_frames) return false;
    if (s.duration <= 0 || s.duration == AV_NOPTS_VALUE || decodedEnd_ == AV_NOPTS_VALUE) return true;
    const std::int64_t start = s.start_time != AV_NOPTS_VALUE ? s.start_time : 0;
    return decodedEnd_ < start + s.duration;
}

// The packets stop a second or more before the duration the header
// declares (a Matroska file cut short ends without an error): the cause,
// or "".
std::string MediaInput::endsBeforeHeader() const {
    if (format_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM ||
        !endsBeforeDuration(packetsEnd_, format_->duration))
        return "";
    char text[120];
    std::snprintf(text, sizeof text, "the video ends at %.3f s of the file's %.3f s",
                  static_cast<double>(packetsEnd_) / 1e6, static_cast<double>(format_->duration) / 1e6);
    return std::string(text) + " (the file is cut short or damaged)";
}

void MediaInput::notePacketEnd(const AVPacket& packet) {
    const std::int64_t time = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    if (time == AV_NOPTS_VALUE) return;
    const AVRational base = format_->streams[packet.stream_index]->time_base;
    std::int64_t end = av_rescale_q(time + packet.duration, base, AV_TIME_BASE_Q);
    if (format_->start_time != AV_NOPTS_VALUE) end -= format_->start_time;
    if (packetsEnd_ == AV_NOPTS_VALUE || end > packetsEnd_) packetsEnd_ = end;
}

MediaInput::Next MediaInput::fail(std::string& error, const std::string& text) {
    error = text;
    return Next::error;
}

MediaInput::Next MediaInput::next(AVFrame& frame, AVPacket& packet, std::string& error) {
    for (;;) {
        int result = avcodec_receive_frame(decoder_.get(), &frame);
        if (result >= 0) {
            ++decoded_;
            if (frame.best_effort_timestamp != AV_NOPTS_VALUE && frameDuration(frame) > 0)
                decodedEnd_ = frame.best_effort_timestamp + frameDuration(frame);
            return Next::frame;
        }
        if (result == AVERROR_EOF) {
            if (endsEarly())
                return fail(error, "the video ends after " + std::to_string(decoded_) + " of its " +
                                       std::to_string(stream().nb_frames) +
                                       " frames (the file is cut short or damaged)");
            const std::string cut = endsBeforeHeader();
            if (!cut.empty()) return fail(error, cut);
            return Next::end;
        }
        if (result != AVERROR(EAGAIN)) return fail(error, decodeFailure(result));
        if (draining_) return Next::end;

        result = av_read_frame(format_.get(), packet_.get());
        if (result == AVERROR_EOF) {
            draining_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (result < 0)
            return fail(error, "cannot read past " + position(decoded_, lastTimestamp_) + ": " + avErrorText(result));
        notePacketEnd(*packet_);
        if (packet_->stream_index != videoIndex_) {
            av_packet_move_ref(&packet, packet_.get());
            return Next::packet;
        }
        lastTimestamp_ = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
        if (picture_ && codec() == AV_CODEC_ID_MJPEG &&
            jpegLacksEnd(packet_->data, static_cast<std::size_t>(packet_->size)))
            return fail(error, "the picture is cut short: its data stops at byte " + std::to_string(packet_->size) +
                                   " without the end marker");
        result = avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (result < 0 && result != AVERROR(EAGAIN)) return fail(error, decodeFailure(result));
    }
}

}  // namespace sorvel::cli
