#include "cli/lut/cube_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvel::cli {
namespace {

constexpr long long kMillion = 1000000;

long long millionths(double level) {
    return std::clamp(static_cast<long long>(std::ceil(level * 1e6 / 255.0)), 0LL, kMillion);
}

// Whole numbers only, so that no C library's float printing can differ.
void appendValue(std::string& text, long long m) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%lld.%06lld", m / kMillion, m % kMillion);
    text += digits;
}

std::string header(const std::string& title, const char* sizeLine) {
    return "TITLE \"" + title + "\"\n" + sizeLine + "\nDOMAIN_MIN 0.0 0.0 0.0\nDOMAIN_MAX 1.0 1.0 1.0\n";
}

}  // namespace

std::string chainTitle(const FilterChain& chain) {
    std::string title = "sorvel";
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const FilterStep& step = chain[i];
        title += std::string(i == 0 ? " " : " --then ") + step.filter->name + " " + std::to_string(step.parameters[0]) +
                 "," + std::to_string(step.parameters[1]) + "," + std::to_string(step.parameters[2]);
    }
    return title;
}

LutGrid asWritten(const LutGrid& grid) {
    LutGrid written(grid.size());
    for (std::size_t i = 0; i < grid.size(); ++i) written[i] = static_cast<double>(millionths(grid[i])) * 255.0 / 1e6;
    return written;
}

std::string cube3dText(const std::string& title, const LutGrid& grid, int size) {
    std::string text = header(title, ("LUT_3D_SIZE " + std::to_string(size)).c_str());
    text.reserve(text.size() + grid.size() * 9);
    for (std::size_t i = 0; i < grid.size(); i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            appendValue(text, millionths(grid[i + c]));
            text += c < 2 ? ' ' : '\n';
        }
    }
    return text;
}

std::string cube1dText(const std::string& title, const std::array<std::array<int, 3>, 256>& levels) {
    std::string text = header(title, "LUT_1D_SIZE 256");
    for (const std::array<int, 3>& entry : levels)
        for (std::size_t c = 0; c < 3; ++c) {
            appendValue(text, millionths(entry[c]));
            text += c < 2 ? ' ' : '\n';
        }
    return text;
}

}  // namespace sorvel::cli
