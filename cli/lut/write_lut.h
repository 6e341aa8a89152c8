// sorvel CHAIN --lut FILE: the chain written as a LUT file, a Hald CLUT
// picture (.png) or a .cube text, with the measured error of a 3-D .cube.
#pragma once

#include <string>

#include "cli/command/arguments.h"

namespace sorvel::cli {

struct LutOutcome {
    std::string error;   // one line, naming the file; empty on success
    std::string report;  // the lines to print on success
};

LutOutcome writeLut(const Command& command);

// Whether every step is an rgb one, so that the chain works on each channel
// alone and a 1-D LUT holds it exactly.
bool perChannel(const FilterChain& chain);

}  // namespace sorvel::cli
