// Megapixels per second on 1920x1080 frames of 32-bit pixels: each filter at
// a few parameter sets with every kernel that runs here, on a frame of
// random colours and, at one parameter set each, on a frame like real
// footage; and memcpy of the same frame as the memory-bandwidth anchor.
// After Google Benchmark's own report comes a table of the best repetition
// of each, with the speed-up over the scalar path and the time relative to
// memcpy. The kernels that fill tables per frame do so inside the timing.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/filter_runs.h"

namespace {

using sorvel::Kernel;
using sorvel::test::Filter;
using sorvel::test::FilterRun;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::ptrdiff_t kPitch = 4 * kWidth;
constexpr double kMegapixels = kWidth * kHeight / 1e6;

enum class Picture { random, footage };

struct Case {
    FilterRun run;
    Picture picture;
};

const Case kCases[] = {
    {{Filter::yiq, 150, 0, 0}, Picture::random},    {{Filter::yiq, 150, 300, 300}, Picture::random},
    {{Filter::yiq, 0, 150, 300}, Picture::random},  {{Filter::yiq, 150, 300, 300}, Picture::footage},
    {{Filter::rgb, 0, 0, 0}, Picture::random},      {{Filter::rgb, 300, 150, 0}, Picture::random},
    {{Filter::rgb, 28, 56, 299}, Picture::random},  {{Filter::rgb, 300, 150, 0}, Picture::footage},
    {{Filter::hsv, 150, 0, 0}, Picture::random},    {{Filter::hsv, 300, 300, 300}, Picture::random},
    {{Filter::hsv, 200, 100, 50}, Picture::random}, {{Filter::hsv, 300, 300, 300}, Picture::footage},
};

// A frame of pseudo-random colours: no run of black or grey pixels that
// would let the scalar paths skip work.
std::vector<std::uint32_t> randomFrame() {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kWidth) * kHeight);
    std::uint32_t state = 0x12345678u;
    for (auto& p : frame) {
        state = state * 1664525u + 1013904223u;
        p = state;
    }
    return frame;
}

// A frame like real footage: smooth gradients across the picture, with a
// few levels of noise on every channel, so that neighbouring pixels have
// close but rarely equal colours.
std::vector<std::uint32_t> footageFrame() {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kWidth) * kHeight);
    std::uint32_t state = 0x9E3779B9u;
    const auto level = [&state](int smooth) {
        state = state * 1664525u + 1013904223u;
        const int noise = static_cast<int>(state >> 29) - 3;  // -3..4
        const int v = smooth + noise;
        return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int red = 40 + 150 * y / kHeight + 50 * x / kWidth;
            const int green = 70 + 90 * (kWidth - x) / kWidth + 40 * y / kHeight;
            const int blue = 210 - 160 * y / kHeight + 30 * ((x + y) % 512) / 512;
            frame[static_cast<std::size_t>(y) * kWidth + x] = (level(red) << 16) | (level(green) << 8) | level(blue);
        }
    return frame;
}

struct Frames {
    std::vector<std::uint32_t> random = randomFrame();
    std::vector<std::uint32_t> footage = footageFrame();
    std::vector<std::uint32_t> dst = std::vector<std::uint32_t>(random.size());
    sorvel::SourceImage source(Picture picture) const {
        const auto& src = picture == Picture::random ? random : footage;
        return {reinterpret_cast<const unsigned char*>(src.data()), kWidth, kHeight, kPitch};
    }
    sorvel::DestImage dest() { return {reinterpret_cast<unsigned char*>(dst.data()), kPitch}; }
};

std::string describe(const Case& c) {
    return sorvel::test::describe(c.run) + (c.picture == Picture::footage ? " footage" : "");
}

std::string nameOf(const Case& c, Kernel kernel) { return describe(c) + "/" + sorvel::kernelName(kernel); }
const char* const kMemcpyName = "memcpy";

// A run that stopped with an error or was skipped: Google Benchmark 1.8
// renamed error_occurred to skipped.
template <class Run>
auto runFailedOrSkipped(const Run& run, int) -> decltype(static_cast<bool>(run.skipped)) {
    return static_cast<bool>(run.skipped);
}
template <class Run>
auto runFailedOrSkipped(const Run& run, long) -> decltype(static_cast<bool>(run.error_occurred)) {
    return run.error_occurred;
}

// Keeps the fastest repetition of each benchmark while the console reporter
// prints as usual.
class BestTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || runFailedOrSkipped(run, 0)) continue;
            // CPU time in milliseconds: on a shared machine the wall clock
            // also counts the time other processes hold the core.
            const double ms = run.GetAdjustedCPUTime();
            auto found = best_.find(run.run_name.function_name);
            if (found == best_.end() || ms < found->second) best_[run.run_name.function_name] = ms;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    bool has(const std::string& name) const { return best_.count(name) != 0; }
    double ms(const std::string& name) const { return best_.at(name); }

private:
    std::map<std::string, double> best_;
};

void printTable(const BestTimes& best) {
    std::printf("\nFrames of %dx%d pixels; CPU time of the best repetition of each.\n", kWidth, kHeight);
    std::printf("Kernels that run here:");
    for (Kernel k : {Kernel::scalar, Kernel::table, Kernel::sse2, Kernel::avx2})
        if (sorvel::kernelRuns(k)) std::printf(" %s", sorvel::kernelName(k));
    std::printf(" (AVX2 from CPUID and XGETBV)\n\n");
    if (!best.has(kMemcpyName)) return;
    const double memcpyMs = best.ms(kMemcpyName);
    std::printf("%-34s %-7s %9s %9s %10s %13s\n", "filter(parameters) frame", "kernel", "ms/frame", "MP/s", "x scalar",
                "time/memcpy");
    std::printf("%-34s %-7s %9.3f %9.1f %10s %13.2f\n", "memcpy", "", memcpyMs, kMegapixels / memcpyMs * 1e3, "", 1.0);
    for (const Case& c : kCases) {
        const std::string scalarName = nameOf(c, Kernel::scalar);
        if (!best.has(scalarName)) continue;
        for (Kernel k : {Kernel::scalar, Kernel::table, Kernel::sse2, Kernel::avx2}) {
            const std::string name = nameOf(c, k);
            if (!best.has(name)) continue;
            const double ms = best.ms(name);
            std::printf("%-34s %-7s %9.3f %9.1f %10.2f %13.2f\n", describe(c).c_str(), sorvel::kernelName(k), ms,
                        kMegapixels / ms * 1e3, best.ms(scalarName) / ms, ms / memcpyMs);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Frames frames;
    for (const Case& c : kCases) {
        std::vector<Kernel> kernels = sorvel::test::optimizedKernels(c.run.filter);
        kernels.insert(kernels.begin(), Kernel::scalar);
        // The library keeps what it registers until the end of the program.
        for (Kernel kernel : kernels)
            // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
            benchmark::RegisterBenchmark(nameOf(c, kernel).c_str(), [&frames, c, kernel](benchmark::State& state) {
                for (auto _ : state) {
                    sorvel::test::renderWith(kernel, c.run, frames.source(c.picture), frames.dest());
                    benchmark::ClobberMemory();
                }
                state.counters["MP/s"] = benchmark::Counter(kMegapixels * 1e6 * static_cast<double>(state.iterations()),
                                                            benchmark::Counter::kIsRate);
            })->Unit(benchmark::kMillisecond);
    }
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
    benchmark::RegisterBenchmark(kMemcpyName, [&frames](benchmark::State& state) {
        for (auto _ : state) {
            std::memcpy(frames.dst.data(), frames.random.data(), frames.random.size() * sizeof frames.random[0]);
            benchmark::ClobberMemory();
        }
    })->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BestTimes best;
    benchmark::RunSpecifiedBenchmarks(&best);
    benchmark::Shutdown();
    printTable(best);
    return 0;
}
