// Filter-only throughput of the sorvel program's frame filter on 1920x1080
// frames of pseudo-random colours, with 1 and with 2 threads (the frame cut
// into bands), each filter with the fastest kernel that runs here. One run
// alternates the two thread counts for a few repetitions and keeps the best
// wall-clock time of each, since the machine may be shared.
//   sorvel_bench_threads [REPETITIONS [FRAMES]]   (defaults 5 and 20)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/grading/frame_filter.h"

namespace {

using sorvel::cli::FilterChain;
using sorvel::cli::FrameFilter;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::ptrdiff_t kPitch = 4 * kWidth;

// Seconds per frame over frames frames.
double secondsPerFrame(FrameFilter& filter, const std::vector<std::uint32_t>& in, std::vector<std::uint32_t>& out,
                       int frames) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        filter.run(reinterpret_cast<const unsigned char*>(in.data()), kPitch,
                   reinterpret_cast<unsigned char*>(out.data()), kPitch, kWidth, kHeight);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / frames;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? static_cast<int>(std::strtol(argv[1], nullptr, 10)) : 5;
    const int frames = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 20;
    if (repetitions < 1 || frames < 1) {
        std::fprintf(stderr, "usage: sorvel_bench_threads [REPETITIONS [FRAMES]]\n");
        return 2;
    }
    std::vector<std::uint32_t> in(static_cast<std::size_t>(kWidth) * kHeight), out(in.size());
    std::uint32_t state = 0x12345678u;
    for (auto& p : in) {
        state = state * 1664525u + 1013904223u;
        p = state;
    }
    const char* names[] = {"yiq", "rgb", "hsv"};
    const std::int32_t parameters[][3] = {{150, 300, 300}, {300, 150, 0}, {200, 100, 50}};
    std::printf("Frames of %dx%d, best of %d repetitions of %d frames; wall-clock time\n\n", kWidth, kHeight,
                repetitions, frames);
    std::printf("%-20s %14s %14s %9s\n", "filter(parameters)", "1 thread fps", "2 threads fps", "speed-up");
    for (int f = 0; f < 3; ++f) {
        const FilterChain chain{
            {sorvel::cli::findFilter(names[f]), {parameters[f][0], parameters[f][1], parameters[f][2]}}};
        FrameFilter one(chain, 1), two(chain, 2);
        double best1 = 1e9, best2 = 1e9;
        for (int r = 0; r < repetitions; ++r) {
            const double t1 = secondsPerFrame(one, in, out, frames);
            const double t2 = secondsPerFrame(two, in, out, frames);
            if (t1 < best1) best1 = t1;
            if (t2 < best2) best2 = t2;
        }
        char label[64];
        std::snprintf(label, sizeof label, "%s(%d, %d, %d)", names[f], parameters[f][0], parameters[f][1],
                      parameters[f][2]);
        std::printf("%-20s %14.1f %14.1f %8.2fx\n", label, 1 / best1, 1 / best2, best1 / best2);
    }
    return 0;
}
