// Tetrahedral interpolation in a 3-D LUT of size N per axis, as the tools
// that read .cube files do it, and its error over all 8-bit colours.
//
// A grid holds N^3 points, red fastest, then green, then blue; each point has
// three values (red, green, blue) in 8-bit levels, 0 to 255. Grid point k on
// an axis stands for the level 255 k / (N - 1).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

using LutGrid = std::vector<double>;  // 3 N^3 values

// The four grid points whose values are mixed for one colour, and their
// weights, which add up to 1. Corner masks grow one axis at a time from 0
// (the cell's lowest point) to 7 (its highest): bit 0 red, bit 1 green, bit 2
// blue.
struct Tetrahedron {
    std::size_t base;  // grid index of the cell's lowest point
    std::array<int, 4> corner;
    std::array<double, 4> weight;
};

Tetrahedron tetrahedronOf(int size, int red, int green, int blue);

// Grid index step of a corner mask.
std::size_t cornerStep(int size, int mask);

// The interpolated levels of colour (r, g, b), before rounding.
std::array<double, 3> interpolate(const LutGrid& grid, int size, int red, int green, int blue);

struct LutError {
    double mean = 0;        // levels per channel, after rounding to 8 bits
    int max = 0;            // levels
    double exactShare = 0;  // share of colours with all three channels right, 0..1
};

// The grid, interpolated and rounded to the nearest level, against the exact
// output (from exactColours) over all 16,777,216 colours.
LutError measureGrid(const LutGrid& grid, int size, const Image& exact, int threads);

// The same over a list of colours, three bytes each (red, green, blue), each
// counted as often as it occurs: for instance a photograph's pixels.
LutError measureColours(const LutGrid& grid, int size, const Image& exact, const unsigned char* rgb,
                        std::size_t colours);

}  // namespace sorvel::cli
