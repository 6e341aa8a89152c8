// sorvel CHAIN --lut FILE: the chain written as a LUT file, a Hald CLUT
// picture (.png) or a .cube text, with the measured error of a 3-D .cube.
#pragma once

#include <string>

#include "cli/grading/filters.h"
#include "cli/lut/lut_form.h"

namespace sorvel::cli {

struct LutSettings {
    std::string path;  // the LUT file; its extension picks the form
    FilterChain chain;
    int threads = 1;                // at least 1
    int level = kDefaultHaldLevel;  // of a Hald CLUT
    int size = kDefaultCubeSize;    // of a 3-D .cube
    bool sizeGiven = false;         // a 3-D .cube even for a chain of rgb steps
};

struct LutOutcome {
    std::string error;   // one line, naming the file; empty on success
    std::string report;  // the lines to print on success
};

LutOutcome writeLut(const LutSettings& settings);

// Whether every step is an rgb one, so that the chain works on each channel
// alone and a 1-D LUT holds it exactly.
bool perChannel(const FilterChain& chain);

}  // namespace sorvel::cli
