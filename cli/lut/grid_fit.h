// Grid values of a 3-D LUT chosen so that tetrahedral interpolation comes as
// close as it can to the exact filter output over all 8-bit colours.
#pragma once

#include "cli/grading/whole_image.h"
#include "cli/lut/tetrahedral.h"

namespace sorvel::cli {

// Each grid point takes the exact output of the 8-bit colour nearest to it.
LutGrid sampleGrid(const Image& exact, int size);

// Largest size that fitGrid fits; above it the grid is sampled (its points
// are then less than two levels apart and the fit gains little).
constexpr int kLargestFittedSize = 129;

// Whether fitGrid moves any point at this size: not above kLargestFittedSize,
// nor where N - 1 divides 255 and every point stands for an 8-bit colour.
inline bool fitMovesPoints(int size) { return size > 2 && size <= kLargestFittedSize && 255 % (size - 1) != 0; }

// A fit over all 8-bit colours: the grid values, within 0..255, minimise the
// sum of squared differences between the interpolated and the exact levels,
// and then, reweighted three times, come close to minimising the sum of
// absolute differences, which is the mean error that tools show. Points that
// stand for an 8-bit colour (each axis's 255 k / (N - 1) a whole level) keep
// sampleGrid's exact values; the others are solved for, each round by sweeps
// of projected Gauss-Seidel on the normal equations, starting from sampleGrid. The result depends only on exact and size, not
// on the machine or thread count, so every build writes the same file.
LutGrid fitGrid(const Image& exact, int size);

}  // namespace sorvel::cli
