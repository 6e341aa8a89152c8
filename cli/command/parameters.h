// The three parameters of a filter as the user writes them: "a,b,c", or the
// script line "Config(a, b, c)" (with or without the host's object path in
// front and a semicolon behind).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/grading/filters.h"

namespace sorvel::cli {

struct ParsedParameters {
    std::array<std::int32_t, 3> values{};
    std::string error;  // empty when the text was understood
};

ParsedParameters parseParameters(std::string_view text);

// One warning for every parameter outside the dialogs' 0..300. Such values
// are used as given, as the host's script function stores them.
std::vector<std::string> rangeWarnings(const FilterStep& step);

}  // namespace sorvel::cli
