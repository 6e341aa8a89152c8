// sorvel CHAIN IN... -o DIR: each input graded into DIR under its own name.
// Pictures go several at once, one per processor, each on one thread;
// videos one at a time with the frame threads. One progress line, and a
// summary at the end.
#pragma once

#include <functional>
#include <string>

#include "cli/batch/batch_plan.h"
#include "cli/command/arguments.h"

namespace sorvel::cli {

using BatchWarn = std::function<void(const std::string&)>;
// Grades command.input into command.output (Action::file); returns "" or
// the error, one line naming the file.
using GradeFile = std::function<std::string(const Command& single, const BatchWarn& warn)>;

struct BatchOutcome {
    BatchCounts counts;
    std::string error;  // the batch could not start (DIR cannot be made)
};

// Warnings go through warn, each text once.
BatchOutcome runBatch(const Command& command, const GradeFile& grade, const BatchWarn& warn);

}  // namespace sorvel::cli
