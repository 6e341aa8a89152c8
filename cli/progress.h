// The progress line of a long stream: frames done and frames per second,
// redrawn in place on a terminal at most a few times a second.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace sorvel::cli {

// "1200 frames, 59.8 frames/s"; the rate is left out while no time has passed.
std::string progressText(long frames, double seconds);

class ProgressLine {
public:
    // Draws nothing unless enabled (standard error is a terminal and no --quiet).
    ProgressLine(std::FILE* out, bool enabled);
    void frameDone();
    // Draws the final count and ends the line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    void draw();

    std::FILE* out_;
    bool enabled_;
    long frames_ = 0;
    Clock::time_point start_;
    Clock::time_point lastDraw_;
};

// Whether standard error is a terminal.
bool stderrIsTerminal();

}  // namespace sorvel::cli
