#include "cli/media/transcode.h"

#include "cli/media/decoded_frames.h"
#include "cli/media/ffmpeg_compat.h"
#include "cli/frames/frame_filter.h"
#include "cli/media/frame_times.h"
#include "cli/media/media_input.h"
#include "cli/media/media_output.h"
#include "cli/command/progress.h"

namespace sorvel::cli {
namespace {

struct Run {
    const Command& command;
    void (*warn)(const std::string&);
    MediaInput input;
    MediaOutput output;
    FrameFilter filter;
    ProgressLine progress;
    FrameToBgra toBgra;
    FrameTimes times;
    FramePtr decoded{av_frame_alloc()}, filtered{av_frame_alloc()};
    PacketPtr packet{av_packet_alloc()};
    long frames = 0;

    Run(const Command& c, void (*w)(const std::string&), int threads)
        : command(c), warn(w), filter(c.chain, threads),
          progress(stderr, !c.quiet && stderrIsTerminal()) {}

    void warnAll(const std::vector<std::string>& warnings, const std::string& file) {
        for (const std::string& w : warnings) warn(std::string(file).append(": ").append(w));
    }

    std::string startOutput(const AVFrame& first) {
        VideoSource source = videoSourceOf(input, first, toBgra.alpha());
        times = FrameTimes(source.timeBase, source.frameRate);
        std::vector<std::string> warnings;
        std::string cause = output.start(source, warnings);
        warnAll(warnings, command.output);
        return cause;
    }

    // Returns "" or the error with the file it concerns.
    std::string frame() {
        const std::string& in = command.input;
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
        filter.run(bgra.data[0], bgra.linesize[0], filtered->data[0], filtered->linesize[0], bgra.width,
                   bgra.height);
        if (!output.started()) {
            cause = startOutput(*decoded);
            if (!cause.empty()) return "cannot write " + command.output + ": " + cause;
            progress = ProgressLine(stderr, !command.quiet && stderrIsTerminal(), input.expectedFrames());
        }
        filtered->pts = times.next(decoded->best_effort_timestamp, frameDuration(*decoded));
        setFrameDuration(*filtered, frameDuration(*decoded));
        av_frame_unref(decoded.get());
        cause = output.writeFrame(*filtered);
        if (!cause.empty()) return "cannot write " + command.output + ": " + cause;
        ++frames;
        progress.frameDone();
        clearLibraryLog();
        return "";
    }

    std::string all() {
        std::string cause = input.open(command.input);
        if (!cause.empty()) return "cannot read " + command.input + ": " + cause;
        EncodeSettings settings{command.codec, command.crf, command.lossless};
        settings.speed = command.speed;
        settings.quiet = command.quiet;
        cause = output.create(command.output, settings, filter.threads());
        if (!cause.empty()) return "cannot write " + command.output + ": " + cause;
        std::vector<std::string> warnings;
        output.copyStreams(input.format(), input.videoIndex(), warnings);
        warnAll(warnings, command.output);
        for (;;) {
            const MediaInput::Next next = input.next(*decoded, *packet, cause);
            if (next == MediaInput::Next::end) break;
            if (next == MediaInput::Next::error) return "cannot read " + command.input + ": " + cause;
            if (next == MediaInput::Next::packet) {
                const AVRational timeBase = input.format().streams[packet->stream_index]->time_base;
                cause = output.writeCopy(*packet, timeBase);
                av_packet_unref(packet.get());
                if (!cause.empty()) return "cannot write " + command.output + ": " + cause;
                continue;
            }
            cause = frame();
            if (!cause.empty()) return cause;
        }
        if (frames == 0) return "cannot read " + command.input + ": it holds no picture";
        cause = output.finish();
        return cause.empty() ? "" : "cannot write " + command.output + ": " + cause;
    }
};

}  // namespace

TranscodeOutcome transcode(const Command& command, void (*warn)(const std::string&)) {
    captureLibraryLog();
    Run run(command, warn, command.threads > 0 ? command.threads : defaultThreadCount());
    TranscodeOutcome outcome;
    outcome.error = run.all();
    run.progress.finish();
    outcome.frames = run.frames;
    return outcome;
}

}  // namespace sorvel::cli
