// The progress line of a long run: frames done, frames per second and, when
// the number of frames is known, the percentage and the time left; redrawn
// in place on a terminal at most a few times a second.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace sorvel::cli {

// "45% 540 of 1200 frames, 29.8 frames/s, 0:22 left", or "540 frames,
// 29.8 frames/s" while the total is unknown (0) or already passed. The rate
// and the time left are left out while no time has passed. unit names what
// is counted ("frame", "file").
std::string progressText(long frames, long total, double seconds, const std::string& unit = "frame");

class ProgressLine {
public:
    // Draws nothing unless enabled (standard error is a terminal and no --quiet).
    ProgressLine(std::FILE* out, bool enabled, long total = 0, std::string unit = "frame");
    void frameDone();
    // Draws the final count and ends the line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    void draw();

    std::FILE* out_;
    bool enabled_;
    long total_;
    long frames_ = 0;
    std::string unit_;
    Clock::time_point start_;
    Clock::time_point lastDraw_;
};

// Whether standard error is a terminal.
bool stderrIsTerminal();

}  // namespace sorvel::cli
