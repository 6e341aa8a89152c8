// SORVEL_KERNEL: the choice for each value on CPUs of each kind, and the
// limit it puts on the kernels.
#include <gtest/gtest.h>

#include <string>

#include "core/kernel_choice.h"

namespace sorvel {
namespace {

TEST(KernelChoice, EachValueOnEachCpu) {
    const struct {
        const char* asked;
        Kernel cpu;
        Kernel kernel;
        const char* why;
    } rows[] = {
        {nullptr, Kernel::avx2, Kernel::avx2, "avx2 (the fastest this CPU runs)"},
        {"", Kernel::sse2, Kernel::sse2, "sse2 (the fastest this CPU runs)"},
        {"scalar", Kernel::avx2, Kernel::scalar, "scalar (SORVEL_KERNEL)"},
        {"sse2", Kernel::avx2, Kernel::sse2, "sse2 (SORVEL_KERNEL)"},
        {"avx2", Kernel::avx2, Kernel::avx2, "avx2 (SORVEL_KERNEL)"},
        {"sse2", Kernel::sse2, Kernel::sse2, "sse2 (SORVEL_KERNEL)"},
        {"avx2", Kernel::sse2, Kernel::sse2, "sse2 (the fastest this CPU runs; SORVEL_KERNEL=avx2 refused)"},
        {"sse2", Kernel::scalar, Kernel::scalar, "scalar (the fastest this CPU runs; SORVEL_KERNEL=sse2 refused)"},
        {"scalar", Kernel::scalar, Kernel::scalar, "scalar (SORVEL_KERNEL)"},
        {"AVX2", Kernel::avx2, Kernel::avx2,
         "avx2 (the fastest this CPU runs; SORVEL_KERNEL=AVX2 is not scalar, sse2 or avx2)"},
        {"table", Kernel::sse2, Kernel::sse2,
         "sse2 (the fastest this CPU runs; SORVEL_KERNEL=table is not scalar, sse2 or avx2)"},
    };
    for (const auto& r : rows) {
        const KernelChoice c = chooseKernel(r.asked, r.cpu);
        const std::string row = std::string(r.asked ? r.asked : "(unset)") + " on " + kernelName(r.cpu);
        EXPECT_EQ(c.kernel, r.kernel) << row;
        EXPECT_EQ(c.why, r.why) << row;
    }
}

TEST(KernelChoice, LimitRulesOutFasterKernels) {
    const struct {
        Kernel limit;
        bool table, sse2, avx2;
    } rows[] = {
        {Kernel::scalar, false, false, false},
        {Kernel::sse2, true, cpuRuns(Kernel::sse2), false},
        {Kernel::avx2, true, cpuRuns(Kernel::sse2), cpuRuns(Kernel::avx2)},
    };
    for (const auto& r : rows) {
        limitKernels(r.limit);
        EXPECT_TRUE(kernelRuns(Kernel::scalar)) << kernelName(r.limit);
        EXPECT_EQ(kernelRuns(Kernel::table), r.table) << kernelName(r.limit);
        EXPECT_EQ(kernelRuns(Kernel::sse2), r.sse2) << kernelName(r.limit);
        EXPECT_EQ(kernelRuns(Kernel::avx2), r.avx2) << kernelName(r.limit);
    }
}

}  // namespace
}  // namespace sorvel
