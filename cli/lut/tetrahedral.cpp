#include "cli/lut/tetrahedral.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cli/lut/every_colour.h"

#ifdef SORVEL_FILTER_THREADS
#include <thread>
#endif

namespace sorvel::cli {

std::size_t cornerStep(int size, int mask) {
    const auto n = static_cast<std::size_t>(size);
    return ((mask & 1) != 0 ? 1 : 0) + ((mask & 2) != 0 ? n : 0) + ((mask & 4) != 0 ? n * n : 0);
}

Tetrahedron tetrahedronOf(int size, int red, int green, int blue) {
    const int rgb[3] = {red, green, blue};
    int cell[3];
    double d[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double x = rgb[axis] * static_cast<double>(size - 1) / 255.0;
        cell[axis] = std::min(static_cast<int>(x), size - 2);
        d[axis] = x - cell[axis];
    }
    const double r = d[0], g = d[1], b = d[2];
    Tetrahedron t{};
    t.base = static_cast<std::size_t>(cell[0]) +
             static_cast<std::size_t>(size) * (static_cast<std::size_t>(cell[1]) +
                                               static_cast<std::size_t>(size) * static_cast<std::size_t>(cell[2]));
    // Walk from the lowest corner along the axes in order of their fractions.
    int first, second;
    double high, middle, low;
    // clang-format off
    if (r > g) {
        if (g > b) { first = 1; second = 3; high = r; middle = g; low = b; }
        else if (r > b) { first = 1; second = 5; high = r; middle = b; low = g; }
        else { first = 4; second = 5; high = b; middle = r; low = g; }
    } else {
        if (b > g) { first = 4; second = 6; high = b; middle = g; low = r; }
        else if (b > r) { first = 2; second = 6; high = g; middle = b; low = r; }
        else { first = 2; second = 3; high = g; middle = r; low = b; }
    }
    // clang-format on
    t.corner = {0, first, second, 7};
    t.weight = {1.0 - high, high - middle, middle - low, low};
    return t;
}

std::array<double, 3> interpolate(const LutGrid& grid, int size, int red, int green, int blue) {
    const Tetrahedron t = tetrahedronOf(size, red, green, blue);
    std::array<double, 3> out{0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const std::size_t at = 3 * (t.base + cornerStep(size, t.corner[k]));
        for (int c = 0; c < 3; ++c) out[c] += t.weight[k] * grid[at + c];
    }
    return out;
}

namespace {

struct Tally {
    long long levels = 0, exact = 0;
    int max = 0;
};

int toLevel(double v) { return static_cast<int>(std::floor(std::clamp(v, 0.0, 255.0) + 0.5)); }

void count(Tally& tally, const LutGrid& grid, int size, const Image& exact, int r, int g, int b) {
    const std::array<double, 3> v = interpolate(grid, size, r, g, b);
    const Pixel32 want = exactAt(exact, r, g, b);
    const int e[3] = {std::abs(toLevel(v[0]) - redOf(want)), std::abs(toLevel(v[1]) - greenOf(want)),
                      std::abs(toLevel(v[2]) - blueOf(want))};
    tally.levels += e[0] + e[1] + e[2];
    tally.max = std::max({tally.max, e[0], e[1], e[2]});
    if (e[0] + e[1] + e[2] == 0) ++tally.exact;
}

Tally tallyBlues(const LutGrid& grid, int size, const Image& exact, int blueFrom, int blueTo) {
    Tally tally;
    for (int b = blueFrom; b < blueTo; ++b)
        for (int g = 0; g < 256; ++g)
            for (int r = 0; r < 256; ++r) count(tally, grid, size, exact, r, g, b);
    return tally;
}

LutError averaged(const Tally& tally, double colours) {
    return {static_cast<double>(tally.levels) / (3 * colours), tally.max, static_cast<double>(tally.exact) / colours};
}

}  // namespace

LutError measureGrid(const LutGrid& grid, int size, const Image& exact, int threads) {
    std::vector<Tally> tallies(static_cast<std::size_t>(std::clamp(threads, 1, 256)));
    const int parts = static_cast<int>(tallies.size());
    auto part = [&](int i) {
        tallies[static_cast<std::size_t>(i)] = tallyBlues(grid, size, exact, 256 * i / parts, 256 * (i + 1) / parts);
    };
#ifdef SORVEL_FILTER_THREADS
    std::vector<std::thread> workers;
    for (int i = 1; i < parts; ++i) workers.emplace_back(part, i);
    part(0);
    for (std::thread& t : workers) t.join();
#else
    for (int i = 0; i < parts; ++i) part(i);
#endif
    Tally all;
    for (const Tally& t : tallies) {
        all.levels += t.levels;
        all.exact += t.exact;
        all.max = std::max(all.max, t.max);
    }
    return averaged(all, 16777216.0);
}

LutError measureColours(const LutGrid& grid, int size, const Image& exact, const unsigned char* rgb,
                        std::size_t colours) {
    Tally tally;
    for (std::size_t i = 0; i < colours; ++i)
        count(tally, grid, size, exact, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return averaged(tally, static_cast<double>(colours));
}

}  // namespace sorvel::cli
