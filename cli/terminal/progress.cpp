#include "cli/terminal/progress.h"

#include <cmath>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sorvel::cli {

namespace {

// "0:07", "12:34", "1:02:03".
std::string clockText(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string progressText(long frames, long total, double seconds, const std::string& unit) {
    const bool known = total > 0 && frames <= total;
    std::string text;
    if (known) text = std::to_string(frames * 100 / total) + "% " + std::to_string(frames) + " of ";
    text += std::to_string(known ? total : frames) + " " + unit + (frames == 1 && !known ? "" : "s");
    if (seconds > 0) {
        const double rate = static_cast<double>(frames) / seconds;
        char rateText[32];
        std::snprintf(rateText, sizeof rateText, ", %.1f ", rate);
        text += rateText + unit + "s/s";
        if (known && rate > 0) text += ", " + clockText(static_cast<double>(total - frames) / rate) + " left";
    }
    return text;
}

ProgressLine::ProgressLine(std::FILE* out, bool enabled, long total, std::string unit)
    : out_(out), enabled_(enabled), total_(total), unit_(std::move(unit)), start_(Clock::now()), lastDraw_(start_) {}

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
    std::fprintf(out_, "\r%s\x1b[K", progressText(frames_, total_, seconds, unit_).c_str());
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
