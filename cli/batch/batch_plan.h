// What a batch (sorvel CHAIN IN... -o DIR) writes where, and what it says at
// the end: pure functions of names and counts.
#pragma once

#include <string>
#include <vector>

namespace sorvel::cli {

// DIR/NAME for input .../NAME, its extension replaced by format when given:
// ("out", "shoot/a.JPG", "png") gives "out/a.png".
std::string batchOutputPath(const std::string& dir, const std::string& input, const std::string& format);

// Whether the name's extension is a still picture's, graded several at once
// (videos go one at a time, each with its frame threads).
bool isPictureName(const std::string& path);

struct BatchCounts {
    int total = 0, graded = 0, skipped = 0;
    std::vector<std::string> failures;  // each one line naming its file
};

// "graded 3 of 5 files; 1 skipped (already there; --overwrite replaces);
// 1 failed: cannot read c.jpg: ...".
std::string batchSummary(const BatchCounts& counts);

}  // namespace sorvel::cli
