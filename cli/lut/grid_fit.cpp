#include "cli/lut/grid_fit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "cli/lut/every_colour.h"

namespace sorvel::cli {
namespace {

constexpr int kFirstSweeps = 40;
constexpr int kLaterSweeps = 12;  // each reweighted round starts close to its answer
constexpr int kReweightings = 3;
constexpr double kSmallestError = 0.5;

int nearestLevel(int k, int size) { return static_cast<int>(std::lround(k * 255.0 / (size - 1))); }

// Grid point k on an axis stands for a whole 8-bit level.
bool onLevel(int k, int size) { return k * 255 % (size - 1) == 0; }

// The normal equations: for each grid point p, its coupling with the points
// p + cornerStep(mask) for masks 0..7 (only corners of one tetrahedron
// couple, and those differ by such a step), and the right-hand sides.
struct NormalEquations {
    std::vector<double> coupling;  // 8 per grid point
    std::vector<double> target;    // 3 per grid point
};

// Each colour weighs in by the inverse of its current error (at least half a
// level), which turns the sum of squares towards the sum of absolute errors:
// the filters clamp and change hue sector in places, and the squares would
// let those few colours pull whole neighbourhoods off.
NormalEquations accumulate(const Image& exact, int size, const LutGrid* current) {
    const std::size_t points = static_cast<std::size_t>(size) * static_cast<std::size_t>(size) *
                               static_cast<std::size_t>(size);
    NormalEquations eq{std::vector<double>(8 * points, 0.0), std::vector<double>(3 * points, 0.0)};
    for (int b = 0; b < 256; ++b)
        for (int g = 0; g < 256; ++g)
            for (int r = 0; r < 256; ++r) {
                const Tetrahedron t = tetrahedronOf(size, r, g, b);
                const Pixel32 want = exactAt(exact, r, g, b);
                const double level[3] = {static_cast<double>(redOf(want)), static_cast<double>(greenOf(want)),
                                         static_cast<double>(blueOf(want))};
                double weight = 1.0;
                if (current != nullptr) {
                    const std::array<double, 3> v = interpolate(*current, size, r, g, b);
                    const double error = (std::abs(v[0] - level[0]) + std::abs(v[1] - level[1]) +
                                          std::abs(v[2] - level[2])) /
                                         3;
                    weight = 1.0 / std::max(error, kSmallestError);
                }
                for (int i = 0; i < 4; ++i) {
                    const std::size_t p = t.base + cornerStep(size, t.corner[i]);
                    for (int c = 0; c < 3; ++c) eq.target[3 * p + c] += weight * t.weight[i] * level[c];
                    // Corner i is a subset of every later corner j.
                    for (int j = i; j < 4; ++j)
                        eq.coupling[8 * p + static_cast<std::size_t>(t.corner[j] - t.corner[i])] += weight *
                                                                                                    t.weight[i] *
                                                                                                    t.weight[j];
                }
            }
    return eq;
}

// Points that stand for an 8-bit colour keep that colour's exact output (a
// tool looks such colours up without interpolating); the sweeps move the rest.
void sweep(const NormalEquations& eq, int size, LutGrid& grid) {
    for (int b = 0; b < size; ++b)
        for (int g = 0; g < size; ++g)
            for (int r = 0; r < size; ++r) {
                if (onLevel(r, size) && onLevel(g, size) && onLevel(b, size)) continue;
                const std::size_t p = static_cast<std::size_t>(r) +
                                      static_cast<std::size_t>(size) *
                                          (static_cast<std::size_t>(g) +
                                           static_cast<std::size_t>(size) * static_cast<std::size_t>(b));
                const double diagonal = eq.coupling[8 * p];
                if (diagonal <= 0) continue;
                double sum[3] = {eq.target[3 * p], eq.target[3 * p + 1], eq.target[3 * p + 2]};
                for (int mask = 1; mask < 8; ++mask) {
                    const bool up = (mask & 1 ? r + 1 < size : true) && (mask & 2 ? g + 1 < size : true) &&
                                    (mask & 4 ? b + 1 < size : true);
                    const bool down = (mask & 1 ? r > 0 : true) && (mask & 2 ? g > 0 : true) &&
                                      (mask & 4 ? b > 0 : true);
                    const std::size_t step = cornerStep(size, mask);
                    if (up) {
                        const double w = eq.coupling[8 * p + static_cast<std::size_t>(mask)];
                        for (int c = 0; c < 3; ++c) sum[c] -= w * grid[3 * (p + step) + c];
                    }
                    if (down) {
                        const double w = eq.coupling[8 * (p - step) + static_cast<std::size_t>(mask)];
                        for (int c = 0; c < 3; ++c) sum[c] -= w * grid[3 * (p - step) + c];
                    }
                }
                for (int c = 0; c < 3; ++c) grid[3 * p + c] = std::clamp(sum[c] / diagonal, 0.0, 255.0);
            }
}

}  // namespace

LutGrid sampleGrid(const Image& exact, int size) {
    LutGrid grid;
    grid.reserve(3 * static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int b = 0; b < size; ++b)
        for (int g = 0; g < size; ++g)
            for (int r = 0; r < size; ++r) {
                const Pixel32 p = exactAt(exact, nearestLevel(r, size), nearestLevel(g, size), nearestLevel(b, size));
                grid.push_back(redOf(p));
                grid.push_back(greenOf(p));
                grid.push_back(blueOf(p));
            }
    return grid;
}

LutGrid fitGrid(const Image& exact, int size) {
    LutGrid grid = sampleGrid(exact, size);
    if (!fitMovesPoints(size)) return grid;
    for (int round = 0; round <= kReweightings; ++round) {
        const NormalEquations eq = accumulate(exact, size, round == 0 ? nullptr : &grid);
        for (int i = 0; i < (round == 0 ? kFirstSweeps : kLaterSweeps); ++i) sweep(eq, size, grid);
    }
    return grid;
}

}  // namespace sorvel::cli
