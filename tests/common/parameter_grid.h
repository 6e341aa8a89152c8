// The parameter sets every kernel is checked at: the defaults, both ends of
// the dialog range, the values where the arithmetic turns (saturation
// 143/144, value 50, gains 28/56) and script values far outside the range,
// where infinities, NaN and huge values appear.
#pragma once

#include <climits>

#include "common/filter_runs.h"

namespace sorvel::test {

// clang-format off
inline constexpr FilterRun kGrid[] = {
    // YIQ: balance, intensity, saturation.
    {Filter::yiq, 150, 0, 0}, {Filter::yiq, 150, 300, 300}, {Filter::yiq, 0, 0, 300},
    {Filter::yiq, 300, 0, 0}, {Filter::yiq, 0, 0, 0}, {Filter::yiq, 300, 300, 300},
    {Filter::yiq, 149, 0, 0}, {Filter::yiq, 151, 150, 150}, {Filter::yiq, 150, 0, 143},
    {Filter::yiq, 150, 0, 144}, {Filter::yiq, 0, 150, 143}, {Filter::yiq, 300, 150, 144},
    {Filter::yiq, 150, 150, 0}, {Filter::yiq, 150, 300, 0}, {Filter::yiq, 77, 1, 299},
    {Filter::yiq, -1, 0, 0}, {Filter::yiq, 150, -1, -1}, {Filter::yiq, 150, 0, -2},
    {Filter::yiq, -150, -300, -150}, {Filter::yiq, 301, 301, 301}, {Filter::yiq, -5, 400, 0},
    {Filter::yiq, 1000, -150, 600}, {Filter::yiq, 150, 0, -302}, {Filter::yiq, INT_MIN, INT_MAX, -2},
    {Filter::yiq, INT_MAX, INT_MIN, INT_MAX}, {Filter::yiq, INT_MIN, INT_MIN, INT_MIN},
    {Filter::yiq, INT_MAX, INT_MAX, INT_MAX},
    // RGB: red, green, blue gains.
    {Filter::rgb, 0, 0, 0}, {Filter::rgb, 300, 150, 0}, {Filter::rgb, 28, 56, 299},
    {Filter::rgb, 300, 300, 300}, {Filter::rgb, 1, 2, 3}, {Filter::rgb, -50, 1000, -145},
    {Filter::rgb, -144, -145, -146}, {Filter::rgb, 5000, -1000, 100000},
    {Filter::rgb, INT_MIN, INT_MAX, -300}, {Filter::rgb, INT_MAX, INT_MIN, INT_MAX},
    // HSV: hue, saturation, value.
    {Filter::hsv, 150, 0, 0}, {Filter::hsv, 300, 0, 0}, {Filter::hsv, 0, 0, 0},
    {Filter::hsv, 250, 0, 0}, {Filter::hsv, 150, 300, 0}, {Filter::hsv, 150, 0, 300},
    {Filter::hsv, 150, 150, 150}, {Filter::hsv, 200, 100, 50}, {Filter::hsv, 150, 0, 50},
    {Filter::hsv, 150, 0, 2}, {Filter::hsv, 300, 300, 300}, {Filter::hsv, 0, 150, 287},
    {Filter::hsv, 149, 1, 299}, {Filter::hsv, 151, 299, 1}, {Filter::hsv, -5, 400, 0},
    {Filter::hsv, 451, 0, 0}, {Filter::hsv, -151, 0, 0}, {Filter::hsv, 150, -300, -300},
    {Filter::hsv, 150, -1, -1}, {Filter::hsv, 1000, -150, 600}, {Filter::hsv, INT_MAX, -1, INT_MIN},
    {Filter::hsv, INT_MIN, INT_MIN, INT_MIN}, {Filter::hsv, INT_MAX, INT_MAX, INT_MAX},
};
// clang-format on

}  // namespace sorvel::test
