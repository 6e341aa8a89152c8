// Conversions at the rounding points of the transforms.
#pragma once

#include <cstdint>
#include <limits>

namespace sorvel {

// Rounds a double to the nearest single-precision value (ties to even).
inline float single(double x) { return static_cast<float>(x); }

// Truncation toward zero that is defined for every double: a value that is
// not finite gives 0, a finite value beyond the int range saturates.
inline std::int32_t truncToInt(double x) {
    if (x > -2147483649.0 && x < 2147483648.0) return static_cast<std::int32_t>(x);
    if (x != x || x == std::numeric_limits<double>::infinity() || x == -std::numeric_limits<double>::infinity())
        return 0;
    return x > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
}

constexpr int clampByte(std::int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Channel value to byte: truncation toward zero, then the clamp to 0..255.
inline int channelByte(double v) { return clampByte(truncToInt(v)); }

// 32-bit addition with two's-complement wrap-around, as the parameter
// arithmetic has for script values at the ends of the int range.
constexpr std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace sorvel
