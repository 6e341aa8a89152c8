// sorvel on files: every frame of IN's video (or its picture) decoded,
// made 8-bit BGRA, filtered, converted back and encoded into OUT, with the
// other streams copied.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/grading/filters.h"
#include "cli/media/codec_choice.h"

namespace sorvel::cli {

struct TranscodeOutcome {
    long frames = 0;
    std::string error;  // one line naming the file and the cause; empty when done
};

// What a run on one file takes from the command line.
struct TranscodeSettings {
    std::string input, output;
    FilterChain chain;
    int threads = 1;        // filter threads, at least 1
    EncodeSettings encode;  // encode.quiet also leaves out the progress line
};

using Warn = std::function<void(const std::string&)>;

// warnings are printed as they arise through warn. A photo (a single
// picture written as a single picture) is written upright, with its EXIF,
// IPTC, XMP and ICC profile where the output's format holds them.
TranscodeOutcome transcode(const TranscodeSettings& settings, const Warn& warn);

}  // namespace sorvel::cli
