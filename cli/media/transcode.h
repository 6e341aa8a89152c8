// sorvel on files: every frame of IN's video (or its picture) decoded,
// made 8-bit BGRA, filtered, converted back and encoded into OUT, with the
// other streams copied.
#pragma once

#include <string>
#include <vector>

#include "cli/command/arguments.h"

namespace sorvel::cli {

struct TranscodeOutcome {
    long frames = 0;
    std::string error;  // one line naming the file and the cause; empty when done
};

// warnings are printed as they arise through warn.
TranscodeOutcome transcode(const Command& command, void (*warn)(const std::string&));

}  // namespace sorvel::cli
