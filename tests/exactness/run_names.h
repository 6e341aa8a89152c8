// Readable names of parameterized runs in test output.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "common/filter_runs.h"

namespace sorvel::test {

inline void PrintTo(const FilterRun& run, std::ostream* os) { *os << describe(run); }

// The description in letters, digits and underscores, with the index that
// keeps names apart.
inline std::string runName(const ::testing::TestParamInfo<FilterRun>& info) {
    std::string name = describe(info.param);
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name + "_" + std::to_string(info.index);
}

}  // namespace sorvel::test
