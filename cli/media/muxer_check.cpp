#include "cli/media/muxer_check.h"

#include <cstdint>

namespace sorvel::cli {
namespace {

// FFmpeg 7 passes the bytes to write as const.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
int discard(void*, const std::uint8_t*, int size) { return size; }
#else
int discard(void*, std::uint8_t*, int size) { return size; }
#endif
std::int64_t seekNowhere(void*, std::int64_t offset, int whence) { return whence == AVSEEK_SIZE ? -1 : offset; }

}  // namespace

bool muxerTakes(const AVOutputFormat* format, const AVCodecParameters& par, bool header) {
    AVFormatContext* probe = nullptr;
    if (avformat_alloc_output_context2(&probe, format, nullptr, nullptr) < 0) return false;
    bool takes = false;
    AVStream* stream = avformat_new_stream(probe, nullptr);
    // Writes would go nowhere: setting up writes nothing.
    auto* buffer = static_cast<unsigned char*>(av_malloc(4096));
    if ((format->flags & AVFMT_NOFILE) == 0 && buffer != nullptr)
        probe->pb = avio_alloc_context(buffer, 4096, 1, nullptr, nullptr, discard, seekNowhere);
    else
        av_free(buffer);
    if (stream != nullptr && avcodec_parameters_copy(stream->codecpar, &par) >= 0 &&
        ((format->flags & AVFMT_NOFILE) != 0 || probe->pb != nullptr)) {
        stream->codecpar->codec_tag = 0;
        if (probe->pb != nullptr) probe->pb->seekable = AVIO_SEEKABLE_NORMAL;  // as a file is (MP4 needs it)
        stream->time_base = AVRational{1, 1000};
        AVDictionary* quiet = nullptr;
        const int level = av_log_get_level();
        av_log_set_level(AV_LOG_QUIET);  // a refusal here is an answer, not an error
        takes = avformat_init_output(probe, &quiet) >= 0 && (!header || avformat_write_header(probe, nullptr) >= 0);
        av_log_set_level(level);
        clearLibraryLog();
        av_dict_free(&quiet);
    }
    if (probe->pb != nullptr) {
        av_freep(&probe->pb->buffer);
        avio_context_free(&probe->pb);
    }
    avformat_free_context(probe);
    return takes;
}

bool muxerTakesVideo(const AVOutputFormat* format, AVCodecID codec) {
    AVCodecParameters* par = avcodec_parameters_alloc();
    if (par == nullptr) return false;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = codec;
    par->width = 320;
    par->height = 240;
    par->format = AV_PIX_FMT_YUV420P;
    const bool takes = muxerTakes(format, *par, false);
    avcodec_parameters_free(&par);
    return takes;
}

}  // namespace sorvel::cli
