// The text of .cube LUT files (the Adobe / Resolve format), byte for byte
// the same from every build of the program.
#pragma once

#include <array>
#include <string>

#include "cli/grading/filters.h"
#include "cli/lut/tetrahedral.h"

namespace sorvel::cli {

// The command that makes the chain, for the file's TITLE.
std::string chainTitle(const FilterChain& chain);

// Values are written as fractions of 1 with six decimals, rounded up: a
// whole level k reads back as at least k / 255, so that tools that truncate
// as well as those that round land on k. Returns the grid as written, in
// levels, for measuring.
LutGrid asWritten(const LutGrid& grid);

std::string cube3dText(const std::string& title, const LutGrid& grid, int size);

// levels[k] is the output of level k on each channel.
std::string cube1dText(const std::string& title, const std::array<std::array<int, 3>, 256>& levels);

}  // namespace sorvel::cli
