// The user's choice of kernel: SORVEL_KERNEL=scalar|sse2|avx2 rules out every
// faster kernel. Read by the programs and the frei0r plug-ins; the plug-in
// libraries for Windows read no environment and leave the choice to the CPU.
#pragma once

#include <string>

#include "core/kernel.h"

namespace sorvel {

struct KernelChoice {
    Kernel kernel;    // the fastest kernel allowed
    std::string why;  // for --version: "sse2 (SORVEL_KERNEL)", ...
};

// The choice for a value of SORVEL_KERNEL (nullptr or "" when unset) on a CPU
// whose fastest kernel is cpuFastest. A kernel the CPU cannot run is refused
// for cpuFastest; an unknown name is ignored.
KernelChoice chooseKernel(const char* asked, Kernel cpuFastest);

// Reads SORVEL_KERNEL once, limits the kernels to the choice and returns it.
const KernelChoice& applyKernelChoice();

}  // namespace sorvel
