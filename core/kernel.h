// The row kernels a filter can render with, and which of them this build
// and this CPU can run. Every kernel gives the same bits as the scalar one.
#pragma once

#include <cstddef>

namespace sorvel {

enum class Kernel {
    scalar,  // pixel by pixel, exactly as the arithmetic is written
    table,   // 256-entry tables filled once per frame with that arithmetic
    sse2,    // the arithmetic on SSE2 vectors, four pixels at a time
    avx2,    // the arithmetic on AVX2 vectors, eight pixels at a time
};

const char* kernelName(Kernel kernel);

// Whether this build holds the kernel's code and the CPU (and, for AVX2,
// the operating system) supports its instructions. The CPU is asked once.
bool cpuRuns(Kernel kernel);

// Whether cpuRuns the kernel and it is no faster than the limit below.
bool kernelRuns(Kernel kernel);

// Rules out every kernel after `fastest` in the order of the enum (the
// programs do this once, at start, from the user's choice). No limit is set
// by default: the CPU decides.
void limitKernels(Kernel fastest);

// The last kernel of the list, fastest last, that kernelRuns.
template <std::size_t N>
Kernel fastestKernel(const Kernel (&kernels)[N]) {
    Kernel best = Kernel::scalar;
    for (Kernel k : kernels)
        if (kernelRuns(k)) best = k;
    return best;
}

}  // namespace sorvel
