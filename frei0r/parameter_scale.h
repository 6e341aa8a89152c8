// frei0r hands parameters over as doubles in [0, 1]; the filters work on
// slider positions 0..300. These convert between the two.
#pragma once

#include <cstdint>
#include <optional>

namespace sorvel::frei0r {

constexpr std::int32_t kSliderMax = 300;

// The slider position nearest to x * 300 (halves round up). x is clamped to
// [0, 1] first, infinities included; NaN has no position and gives nothing.
std::optional<std::int32_t> positionFromFraction(double x);

// position / 300: the fraction that positionFromFraction maps back to
// position for every position 0..300.
double fractionFromPosition(std::int32_t position);

}  // namespace sorvel::frei0r
