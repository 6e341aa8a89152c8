// sorvel FILTER a,b,c IN OUT in the Windows program: one picture read,
// filtered and written. Video goes through --raw.
#pragma once

#include <string>

#include "cli/command/arguments.h"

namespace sorvel::cli {

struct PictureOutcome {
    std::string error;      // one line; empty on success
    bool badUsage = false;  // the request itself cannot be served here
};

PictureOutcome filterPictureFile(const Command& command);

}  // namespace sorvel::cli
