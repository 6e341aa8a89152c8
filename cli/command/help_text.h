// The texts of sorvel --help and sorvel help FILTER.
#pragma once

#include <string>

#include "cli/grading/filters.h"

namespace sorvel::cli {

std::string usageText();

// sorvel --version: the version, the copyright and the licence.
std::string versionText();

std::string filterHelpText(const FilterInfo& filter);

// Breaks text into lines of at most width characters at spaces, each line
// starting with indent spaces.
std::string wrapText(const std::string& text, std::size_t width, std::size_t indent);

}  // namespace sorvel::cli
