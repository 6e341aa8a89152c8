// The command line of the sorvel program, parsed into what to do.
#pragma once

#include <string>
#include <vector>

#include "cli/grading/filters.h"
#include "cli/grading/frame_size.h"
#include "cli/lut/lut_form.h"
#include "cli/media/speed.h"

namespace sorvel::cli {

enum class Action { help, filterHelp, version, demo, file, batch, raw, lut };

struct Command {
    Action action = Action::help;
    FilterChain chain;
    const FilterInfo* helpFilter = nullptr;  // Action::filterHelp
    std::string input, output;               // Action::file; output also for the demo
    std::vector<std::string> inputs;         // Action::batch: the files, in order
    std::string outDir;                      // Action::batch: --out-dir (-o)
    std::string format;                      // --format: the outputs' extension, or "" for the input's
    bool overwrite = false;                  // --overwrite: replace outputs that exist
    FrameSize frame;                         // Action::raw
    std::string lut;                         // Action::lut: the LUT file
    int lutLevel = kDefaultHaldLevel;        // --lut-level of a Hald CLUT
    int lutSize = kDefaultCubeSize;          // --lut-size of a 3-D .cube
    bool lutSizeGiven = false;               // a 3-D .cube even for a chain of rgb steps
    int threads = 0;                         // filter threads; 0: one per processor
    std::string codec;                       // --codec: an encoder's name, or "" to choose
    int crf = -1;                            // --crf, or -1 for the codec's default
    bool lossless = false;
    Speed speed = Speed::medium;  // --speed
    bool quiet = false;
    std::vector<std::string> warnings;  // parameters outside 0..300
};

struct ParseOutcome {
    Command command;
    std::string error;  // one line; empty when the command line is sound
};

ParseOutcome parseArguments(const std::vector<std::string>& args);

// The filter threads to run: --threads, or one per processor.
int filterThreads(const Command& command);

// Most filter threads accepted by --threads.
constexpr int kMaxThreads = 256;

// "WIDTHxHEIGHT", each side 1..kMaxSide. Returns an error text or "".
std::string parseFrameSize(const std::string& text, FrameSize& size);

// The demo's output file when none is given.
inline const char* defaultDemoPath() { return "sorvel-demo.png"; }

}  // namespace sorvel::cli
