// sorvel FILTER a,b,c IN OUT in the Windows program: one picture read,
// filtered and written, with the metadata blocks of a JPEG or PNG carried
// into a file of the same format. Video goes through --raw.
#pragma once

#include <string>
#include <vector>

#include "cli/grading/filters.h"

namespace sorvel::cli {

struct PictureFileSettings {
    std::string input, output;
    FilterChain chain;
};

struct PictureOutcome {
    std::string error;      // one line; empty on success
    bool badUsage = false;  // the request itself cannot be served here
    std::vector<std::string> warnings;
};

PictureOutcome filterPictureFile(const PictureFileSettings& settings);

}  // namespace sorvel::cli
