// The three filters as the command line names them, and a chain of them
// applied to whole frames.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/pixel.h"

namespace sorvel::cli {

enum class FilterKind { yiq, rgb, hsv };

struct ParameterInfo {
    const char* name;
    std::int32_t defaultValue;
    const char* help;  // what the parameter does, in a user's words
};

struct FilterInfo {
    FilterKind kind;
    const char* name;     // on the command line: "yiq", "rgb", "hsv"
    const char* title;    // the name the host shows
    const char* library;  // the plug-in file
    const char* summary;
    std::array<ParameterInfo, 3> parameters;  // in the order of Config(a, b, c)
};

const std::array<FilterInfo, 3>& allFilters();

// nullptr for a name that is not a filter.
const FilterInfo* findFilter(std::string_view name);

// The dialogs' range of every parameter; scripts may go beyond it.
constexpr std::int32_t kParameterMin = 0;
constexpr std::int32_t kParameterMax = 300;

struct FilterStep {
    const FilterInfo* filter;
    std::array<std::int32_t, 3> parameters;  // Config order
};

using FilterChain = std::vector<FilterStep>;

// Renders width x height pixels of in through every step of the chain, in
// order, into out (which must not overlap in). The transforms write the top
// byte as 0; here it is taken from the input instead, so that an alpha
// channel passes through untouched. Pitches are bytes from one row to the
// next.
void applyChain(const FilterChain& chain, const unsigned char* in, std::ptrdiff_t inPitch, unsigned char* out,
                std::ptrdiff_t outPitch, int width, int height);

// The same for rows stored one after the other with no padding.
inline void applyChain(const FilterChain& chain, const Pixel32* in, Pixel32* out, int width, int height) {
    const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(width) * 4;
    applyChain(chain, reinterpret_cast<const unsigned char*>(in), pitch, reinterpret_cast<unsigned char*>(out), pitch,
               width, height);
}

}  // namespace sorvel::cli
