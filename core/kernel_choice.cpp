#include "core/kernel_choice.h"

#include <cstdlib>
#include <cstring>

namespace sorvel {

KernelChoice chooseKernel(const char* asked, Kernel cpuFastest) {
    const std::string fastest = kernelName(cpuFastest);
    if (asked == nullptr || *asked == '\0') return {cpuFastest, fastest + " (the fastest this CPU runs)"};
    for (Kernel k : {Kernel::scalar, Kernel::sse2, Kernel::avx2}) {
        if (std::strcmp(asked, kernelName(k)) != 0) continue;
        if (k <= cpuFastest) return {k, std::string(asked) + " (SORVEL_KERNEL)"};
        return {cpuFastest, fastest + " (the fastest this CPU runs; SORVEL_KERNEL=" + asked + " refused)"};
    }
    return {cpuFastest,
            fastest + " (the fastest this CPU runs; SORVEL_KERNEL=" + asked + " is not scalar, sse2 or avx2)"};
}

const KernelChoice& applyKernelChoice() {
    static const KernelChoice choice = [] {
        Kernel cpuFastest = Kernel::scalar;
        for (Kernel k : {Kernel::sse2, Kernel::avx2})
            if (cpuRuns(k)) cpuFastest = k;
        // NOLINTNEXTLINE(concurrency-mt-unsafe): once, before the programs start threads
        KernelChoice c = chooseKernel(std::getenv("SORVEL_KERNEL"), cpuFastest);
        limitKernels(c.kernel);
        return c;
    }();
    return choice;
}

}  // namespace sorvel
