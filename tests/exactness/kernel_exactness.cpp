// Every optimized kernel against the scalar path: all 16 777 216 colours
// (with scrambled top bytes) at the grid of parameters.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/cube_frame.h"
#include "common/parameter_grid.h"
#include "run_names.h"

namespace sorvel::test {
namespace {

class EveryColour : public ::testing::TestWithParam<FilterRun> {};

TEST_P(EveryColour, EveryKernelGivesTheScalarBits) {
    const FilterRun run = GetParam();
    const std::vector<Kernel> kernels = optimizedKernels(run.filter);
    if (kernels.empty()) GTEST_SKIP() << "no optimized kernel runs on this CPU";
    const ScalarReference reference(run);

    // The colour cube in bands of rows, each band through every kernel.
    constexpr int kBandRows = 64;
    const std::ptrdiff_t pitch = 4 * static_cast<std::ptrdiff_t>(kCubeSide);
    std::vector<Pixel32> src(static_cast<std::size_t>(kCubeSide) * kBandRows), expected(src.size()), out(src.size());
    for (int band = 0; band < kCubeSide / kBandRows; ++band) {
        const std::uint32_t first = static_cast<std::uint32_t>(band) * kBandRows * kCubeSide;
        for (std::uint32_t i = 0; i < src.size(); ++i) {
            src[i] = cubePixel(first + i);
            expected[i] = reference(src[i]);
        }
        for (Kernel kernel : kernels) {
            renderWith(kernel, run, {reinterpret_cast<const unsigned char*>(src.data()), kCubeSide, kBandRows, pitch},
                       {reinterpret_cast<unsigned char*>(out.data()), pitch});
            if (out == expected) continue;
            std::size_t i = 0;
            while (out[i] == expected[i]) ++i;
            char where[96];
            std::snprintf(where, sizeof where, "source 0x%08X: scalar 0x%08X, %s 0x%08X", src[i], expected[i],
                          kernelName(kernel), out[i]);
            FAIL() << describe(run) << " " << where;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Grid, EveryColour, ::testing::ValuesIn(kGrid), runName);

}  // namespace
}  // namespace sorvel::test
