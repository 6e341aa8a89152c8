#include "cli/progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sorvel::cli {

std::string progressText(long frames, double seconds) {
    std::string text = std::to_string(frames) + (frames == 1 ? " frame" : " frames");
    if (seconds > 0) {
        char rate[32];
        std::snprintf(rate, sizeof rate, ", %.1f frames/s", static_cast<double>(frames) / seconds);
        text += rate;
    }
    return text;
}

ProgressLine::ProgressLine(std::FILE* out, bool enabled)
    : out_(out), enabled_(enabled), start_(Clock::now()), lastDraw_(start_) {}

void ProgressLine::frameDone() {
    ++frames_;
    if (!enabled_) return;
    const Clock::time_point now = Clock::now();
    if (now - lastDraw_ < std::chrono::milliseconds(250)) return;
    lastDraw_ = now;
    draw();
}

void ProgressLine::finish() {
    if (!enabled_) return;
    draw();
    std::fputc('\n', out_);
    std::fflush(out_);
}

void ProgressLine::draw() {
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    // Carriage return and a clear to the end of the line redraw it in place.
    std::fprintf(out_, "\r%s\x1b[K", progressText(frames_, seconds).c_str());
    std::fflush(out_);
}

bool stderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace sorvel::cli
