#include "core/kernel.h"

#include <atomic>

#if SORVEL_X86_KERNELS
#include <cpuid.h>
#endif

namespace sorvel {
namespace {

#if SORVEL_X86_KERNELS
// AVX2 needs the instructions (CPUID leaf 7) and an operating system that
// saves the YMM registers on a context switch (OSXSAVE, then XCR0 with the
// SSE and AVX state bits).
bool cpuRunsAvx2() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid(1, eax, ebx, ecx, edx);
    const unsigned osxsave = 1u << 27, avx = 1u << 28;
    if ((ecx & osxsave) == 0 || (ecx & avx) == 0) return false;
    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    const unsigned sseAndAvxState = 0x6;
    if ((xcr0 & sseAndAvxState) != sseAndAvxState) return false;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    const unsigned avx2 = 1u << 5;
    return (ebx & avx2) != 0;
}
#endif

// -1 until the CPU has been asked; then 0 or 1. Racing first calls ask twice
// and store the same answer.
std::atomic<int> avx2Answer{-1};

bool avx2Runs() {
#if SORVEL_X86_KERNELS
    int answer = avx2Answer.load(std::memory_order_relaxed);
    if (answer < 0) {
        answer = cpuRunsAvx2() ? 1 : 0;
        avx2Answer.store(answer, std::memory_order_relaxed);
    }
    return answer == 1;
#else
    return false;
#endif
}

// The fastest kernel allowed, as an int of the enum.
std::atomic<int> kernelLimit{static_cast<int>(Kernel::avx2)};

}  // namespace

const char* kernelName(Kernel kernel) {
    switch (kernel) {
        case Kernel::scalar: return "scalar";
        case Kernel::table: return "table";
        case Kernel::sse2: return "sse2";
        case Kernel::avx2: return "avx2";
    }
    return "?";
}

bool kernelRuns(Kernel kernel) {
    return static_cast<int>(kernel) <= kernelLimit.load(std::memory_order_relaxed) && cpuRuns(kernel);
}

void limitKernels(Kernel fastest) { kernelLimit.store(static_cast<int>(fastest), std::memory_order_relaxed); }

bool cpuRuns(Kernel kernel) {
    switch (kernel) {
        case Kernel::scalar:
        case Kernel::table: return true;
        // Every x86 build here is compiled for SSE2 already (-msse2 on i686).
        case Kernel::sse2: return SORVEL_X86_KERNELS != 0;
        case Kernel::avx2: return avx2Runs();
    }
    return false;
}

}  // namespace sorvel
