// Frames for the tests of the frei0r libraries, and what the libraries must
// make of them: the core's pixel function on every word, the word's alpha
// kept. No rows, bands or pitches are involved in the expectation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorvel::frei0r::test {

// Pixels with every byte value in every position, alpha included.
inline std::vector<std::uint32_t> mixedFrame(std::size_t count, std::uint32_t seed = 0x9E3779B9u) {
    std::vector<std::uint32_t> frame(count);
    for (auto& px : frame) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        px = seed;
    }
    return frame;
}

// Coefficients names the filter (yiq::Coefficients and so on); coefficients
// and transformPixel are found in its namespace.
template <class Coefficients, class Params>
std::vector<std::uint32_t> expectedFrame(const Params& params, const std::vector<std::uint32_t>& in) {
    const Coefficients c = coefficients(params);
    std::vector<std::uint32_t> out(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = (transformPixel(c, in[i]) & 0x00FFFFFFu) | (in[i] & 0xFF000000u);
    }
    return out;
}

}  // namespace sorvel::frei0r::test
