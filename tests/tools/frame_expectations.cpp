// Writes the expected hash of every colour through each filter at a set of
// parameters, computed with the native core: one line per run,
// "FILTER A B C HASH"; and of the sample frame at each parameter set of the
// grid, "sample:FILTER A B C HASH". The test hosts render the same frames
// with the plug-in libraries and compare.
#include <climits>
#include <cstdio>
#include <string_view>
#include <vector>

#include "common/cube_frame.h"
#include "common/parameter_grid.h"
#include "common/yiq_factor_hash.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace {

using sorvel::test::kCubeSide;

struct Run {
    const char* filter;
    int a, b, c;
};

// clang-format off
const Run kRuns[] = {
    {"yiq", 150, 0, 0},   {"yiq", 150, 300, 300}, {"yiq", 0, 150, 300}, {"yiq", 300, 0, 0},
    {"yiq", 77, 143, 144}, {"yiq", -5, 400, 0},   {"yiq", INT_MIN, INT_MAX, -2},
    {"rgb", 0, 0, 0},     {"rgb", 300, 150, 0},   {"rgb", 28, 56, 299}, {"rgb", -50, 1000, -145},
    {"rgb", INT_MIN, INT_MAX, -300},
    {"hsv", 150, 0, 0},   {"hsv", 300, 300, 300}, {"hsv", 0, 150, 50}, {"hsv", 200, 100, 50},
    {"hsv", -5, 400, 0},  {"hsv", INT_MAX, -1, INT_MIN},
};
// clang-format on

template <class Params, class Render>
unsigned long long hashOf(const std::vector<std::uint32_t>& src, Params params, Render render, int width = kCubeSide) {
    const int height = static_cast<int>(src.size() / static_cast<std::size_t>(width));
    std::vector<std::uint32_t> dst(src.size());
    const std::ptrdiff_t pitch = width * 4;
    render(params, {reinterpret_cast<const unsigned char*>(src.data()), width, height, pitch},
           {reinterpret_cast<unsigned char*>(dst.data()), pitch});
    sorvel::test::FrameHash h;
    for (int y = 0; y < height; ++y) h.add(&dst[static_cast<std::size_t>(y) * width], width);
    return h.value();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: frame_expectations OUT.txt\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const std::vector<std::uint32_t> src = sorvel::test::cubeFrame();
    for (const Run& r : kRuns) {
        unsigned long long h = 0;
        const std::string_view f = r.filter;
        if (f == "yiq") h = hashOf(src, sorvel::yiq::Params{r.a, r.b, r.c}, sorvel::yiq::render);
        if (f == "rgb") h = hashOf(src, sorvel::rgb::Params{r.a, r.b, r.c}, sorvel::rgb::render);
        if (f == "hsv") h = hashOf(src, sorvel::hsv::Params{r.a, r.b, r.c}, sorvel::hsv::render);
        std::fprintf(out, "%s %d %d %d %016llx\n", r.filter, r.a, r.b, r.c, h);
    }
    const std::vector<std::uint32_t> sample = sorvel::test::sampleFrame();
    const int width = sorvel::test::kSampleWidth;
    for (const sorvel::test::FilterRun& r : sorvel::test::kGrid) {
        unsigned long long h = 0;
        using sorvel::test::Filter;
        if (r.filter == Filter::yiq) h = hashOf(sample, sorvel::yiq::Params{r.a, r.b, r.c}, sorvel::yiq::render, width);
        if (r.filter == Filter::rgb) h = hashOf(sample, sorvel::rgb::Params{r.a, r.b, r.c}, sorvel::rgb::render, width);
        if (r.filter == Filter::hsv) h = hashOf(sample, sorvel::hsv::Params{r.a, r.b, r.c}, sorvel::hsv::render, width);
        std::fprintf(out, "sample:%s %d %d %d %016llx\n", sorvel::test::filterName(r.filter), r.a, r.b, r.c, h);
    }
    std::fprintf(out, "yiqfactors %016llx\n", static_cast<unsigned long long>(sorvel::test::yiqFactorHash()));
    return std::fclose(out) == 0 ? 0 : 1;
}
