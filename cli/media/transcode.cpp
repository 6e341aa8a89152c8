#include "cli/media/transcode.h"

#include <cctype>
#include <utility>

#include "cli/photo/orientation.h"
#include "cli/photo/photo_metadata.h"

#include "cli/grading/frame_filter.h"
#include "cli/media/decoded_frames.h"
#include "cli/media/ffmpeg_compat.h"
#include "cli/media/frame_times.h"
#include "cli/media/media_input.h"
#include "cli/media/media_output.h"
#include "cli/terminal/progress.h"

namespace sorvel::cli {
namespace {

// "BMP files cannot hold EXIF and the ICC profile: left out". The same for
// every file of a format, so that a batch can say it once.
std::string droppedWarning(const std::string& output, const std::vector<std::string>& dropped) {
    const std::size_t dot = output.rfind('.');
    std::string format = dot == std::string::npos ? "these" : output.substr(dot + 1);
    for (char& c : format) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string list;
    for (std::size_t i = 0; i < dropped.size(); ++i)
        list += (i == 0 ? "" : i + 1 == dropped.size() ? " and " : ", ") + dropped[i];
    return format + " files cannot hold " + list + ": left out";
}

struct Run {
    const TranscodeSettings& settings;
    const Warn& warn;
    MediaInput input;
    MediaOutput output;
    FrameFilter filter;
    ProgressLine progress;
    FrameToBgra toBgra;
    FrameTimes times;
    FramePtr decoded{av_frame_alloc()}, filtered{av_frame_alloc()}, upright{av_frame_alloc()};
    PhotoMetadata photo;
    int orientation = 1;
    PacketPtr packet{av_packet_alloc()};
    long frames = 0;

    Run(const TranscodeSettings& s, const Warn& w)
        : settings(s), warn(w), filter(s.chain, s.threads), progress(stderr, !s.encode.quiet && stderrIsTerminal()) {}

    void warnAll(const std::vector<std::string>& warnings, const std::string& file) {
        for (const std::string& w : warnings) warn(std::string(file).append(": ").append(w));
    }

    std::string startOutput(const AVFrame& first) {
        VideoSource source = videoSourceOf(input, first, toBgra.alpha());
        if (turnsSideways(orientation)) {
            std::swap(source.width, source.height);
            if (source.aspect.num > 0) std::swap(source.aspect.num, source.aspect.den);
        }
        times = FrameTimes(source.timeBase, source.frameRate);
        std::vector<std::string> warnings;
        std::string cause = output.start(source, warnings);
        warnAll(warnings, settings.output);
        if (cause.empty() && !photo.iccProfile().empty()) output.embedIccProfile(photo.iccProfile());
        return cause;
    }

    // Returns "" or the error with the file it concerns.
    std::string frame() {
        const std::string& in = settings.input;
        std::vector<std::string> warnings;
        std::string cause = toBgra.convert(*decoded, input.codec(), filter.threads(), warnings);
        warnAll(warnings, in);
        if (!cause.empty()) return "cannot read " + in + ": frame " + std::to_string(frames + 1) + ": " + cause;
        const AVFrame& bgra = toBgra.frame();
        if (!filtered->buf[0] || filtered->width != bgra.width || filtered->height != bgra.height) {
            av_frame_unref(filtered.get());
            filtered->format = AV_PIX_FMT_BGRA;
            filtered->width = bgra.width;
            filtered->height = bgra.height;
            if (av_frame_get_buffer(filtered.get(), 0) < 0) return "out of memory";
        }
        filter.run(bgra.data[0], bgra.linesize[0], filtered->data[0], filtered->linesize[0], bgra.width, bgra.height);
        AVFrame* written = filtered.get();
        if (orientation != 1) {
            cause = turnUpright(*filtered);
            if (!cause.empty()) return cause;
            written = upright.get();
        }
        if (!output.started()) {
            cause = startOutput(*decoded);
            if (!cause.empty()) return "cannot write " + settings.output + ": " + cause;
            progress = ProgressLine(stderr, !settings.encode.quiet && stderrIsTerminal(), input.expectedFrames());
        }
        written->pts = times.next(decoded->best_effort_timestamp, frameDuration(*decoded));
        setFrameDuration(*written, frameDuration(*decoded));
        av_frame_unref(decoded.get());
        cause = output.writeFrame(*written);
        if (!cause.empty()) return "cannot write " + settings.output + ": " + cause;
        ++frames;
        progress.frameDone();
        clearLibraryLog();
        return "";
    }

    // The filtered picture as it is shown, into upright.
    std::string turnUpright(const AVFrame& picture) {
        const bool sideways = turnsSideways(orientation);
        const int width = sideways ? picture.height : picture.width;
        const int height = sideways ? picture.width : picture.height;
        if (!upright->buf[0] || upright->width != width || upright->height != height) {
            av_frame_unref(upright.get());
            upright->format = AV_PIX_FMT_BGRA;
            upright->width = width;
            upright->height = height;
            if (av_frame_get_buffer(upright.get(), 0) < 0) return "out of memory";
        }
        orientPixels(picture.data[0], picture.linesize[0], picture.width, picture.height, orientation, upright->data[0],
                     upright->linesize[0]);
        return "";
    }

    // Puts the photo's metadata into the finished picture's temporary file;
    // what the format cannot hold is named in one warning.
    std::string keepMetadata(const std::string& temporary) {
        std::vector<std::string> dropped;
        const bool sideways = turnsSideways(orientation);
        const int width = sideways ? toBgra.frame().height : toBgra.frame().width;
        const int height = sideways ? toBgra.frame().width : toBgra.frame().height;
        const std::string cause = photo.writeTo(temporary, width, height, dropped);
        if (!cause.empty()) return "cannot keep the photo's metadata: " + cause;
        if (!dropped.empty()) warn(droppedWarning(settings.output, dropped));
        return "";
    }

    std::string all() {
        std::string cause = input.open(settings.input, 0, filter.threads());
        if (!cause.empty()) return "cannot read " + settings.input + ": " + cause;
        // Said once the output is written, as the copy warnings are: a
        // picture refused as damaged needs no word on its metadata.
        std::string metadataWarning;
        if (input.singlePicture()) {
            cause = photo.read(settings.input);
            if (!cause.empty()) metadataWarning = settings.input + ": its metadata is not kept: " + cause;
            orientation = photo.orientation();
        }
        cause = output.create(settings.output, settings.encode, filter.threads());
        if (!cause.empty()) return "cannot write " + settings.output + ": " + cause;
        // Said once the output is written: a refused input needs no word
        // on its sound.
        std::vector<std::string> copyWarnings;
        output.copyStreams(input.format(), input.videoIndex(), copyWarnings);
        for (;;) {
            const MediaInput::Next next = input.next(*decoded, *packet, cause);
            if (next == MediaInput::Next::end) break;
            if (next == MediaInput::Next::error) return "cannot read " + settings.input + ": " + cause;
            if (next == MediaInput::Next::packet) {
                const AVRational timeBase = input.format().streams[packet->stream_index]->time_base;
                cause = output.writeCopy(*packet, timeBase);
                av_packet_unref(packet.get());
                if (!cause.empty()) return "cannot write " + settings.output + ": " + cause;
                continue;
            }
            cause = frame();
            if (!cause.empty()) return cause;
        }
        // A picture whose data stops early decodes to nothing, without an error.
        if (frames == 0)
            return "cannot read " + settings.input + ": " +
                   (input.isPicture() ? "the picture is cut short or damaged: nothing of it could be decoded"
                                      : "it holds no picture");
        const bool photoOut = input.singlePicture() && output.singlePicture();
        cause = photoOut ? output.finish([this](const std::string& temporary) { return keepMetadata(temporary); })
                         : output.finish();
        if (!cause.empty()) return "cannot write " + settings.output + ": " + cause;
        if (!metadataWarning.empty()) warn(metadataWarning);
        warnAll(copyWarnings, settings.output);
        return "";
    }
};

}  // namespace

TranscodeOutcome transcode(const TranscodeSettings& settings, const Warn& warn) {
    captureLibraryLog();
    Run run(settings, warn);
    TranscodeOutcome outcome;
    outcome.error = run.all();
    run.progress.finish();
    outcome.frames = run.frames;
    return outcome;
}

}  // namespace sorvel::cli
