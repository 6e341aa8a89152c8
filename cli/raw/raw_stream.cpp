#include "cli/raw/raw_stream.h"

#include <cerrno>
#include <csignal>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/files/error_text.h"

namespace sorvel::cli {

FrameRead readFrame(std::FILE* in, void* buffer, std::size_t size) {
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, in);
    if (got == size) return {ReadStatus::frame, got, 0};
    if (std::ferror(in) != 0) return {ReadStatus::failed, got, errno != 0 ? errno : EIO};
    return {got == 0 ? ReadStatus::end : ReadStatus::truncated, got, 0};
}

StreamOutcome processStream(FrameFilter& filter, FrameSize size, std::FILE* in, std::FILE* out,
                            ProgressLine& progress) {
    const std::size_t pixels = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    const std::size_t bytes = pixels * sizeof(Pixel32);
    std::vector<Pixel32> source(pixels), filtered(pixels);
    StreamOutcome outcome;
    for (;;) {
        const long number = outcome.frames + 1;  // frames counted from 1
        const FrameRead read = readFrame(in, source.data(), bytes);
        if (read.status == ReadStatus::end) break;
        if (read.status == ReadStatus::truncated) {
            outcome.error = "input ends inside frame " + std::to_string(number) + ": " + std::to_string(read.bytes) +
                            " of its " + std::to_string(bytes) + " bytes (" + std::to_string(size.width) + "x" +
                            std::to_string(size.height) + " BGRA); " + std::to_string(outcome.frames) +
                            " whole frames were written";
            break;
        }
        if (read.status == ReadStatus::failed) {
            outcome.error = "cannot read frame " + std::to_string(number) +
                            " from standard input: " + errorText(read.errnum);
            break;
        }
        const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(size.width) * 4;
        filter.run(reinterpret_cast<const unsigned char*>(source.data()), pitch,
                   reinterpret_cast<unsigned char*>(filtered.data()), pitch, size.width, size.height);
        errno = 0;
        if (std::fwrite(filtered.data(), 1, bytes, out) != bytes) {
            outcome.error = "cannot write frame " + std::to_string(number) +
                            " to standard output: " + errorText(errno != 0 ? errno : EIO);
            break;
        }
        ++outcome.frames;
        progress.frameDone();
    }
    errno = 0;
    if (std::fflush(out) != 0 && outcome.error.empty())
        outcome.error = "cannot write to standard output: " + errorText(errno != 0 ? errno : EIO);
    progress.finish();
    return outcome;
}

void prepareStandardStreams() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    // A reader that goes away makes writes fail with EPIPE instead of
    // ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace sorvel::cli
