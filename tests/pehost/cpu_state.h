// The processor state a host may leave behind and a library must put back,
// and the trace the AVX2 kernels leave in the vector registers.
#pragma once

#include <xmmintrin.h>

#include <cstdint>
#include <cstring>

namespace sorvel::pe {

struct FloatState {
    std::uint16_t x87Control;
    unsigned int mxcsr;
    bool operator==(const FloatState& o) const { return x87Control == o.x87Control && mxcsr == o.mxcsr; }
};

inline FloatState floatState() {
    FloatState s{};
    __asm__ volatile("fnstcw %0" : "=m"(s.x87Control));
    s.mxcsr = _mm_getcsr();
    return s;
}

inline void setFloatState(const FloatState& s) {
    __asm__ volatile("fldcw %0" : : "m"(s.x87Control));
    _mm_setcsr(s.mxcsr);
}

// A host built with another compiler: x87 at 24-bit precision, SSE with
// upward rounding, flush to zero and denormals as zero.
inline FloatState hostileFloatState(const FloatState& normal) {
    return {static_cast<std::uint16_t>(normal.x87Control & ~0x0300u),
            (normal.mxcsr & ~0x6000u) | 0x4000u | 0x8000u | 0x0040u};
}

// Sets the upper halves of YMM7 to ones (the CPU must have AVX2). Legacy
// SSE code leaves them alone; code that ran 256-bit instructions ends with
// vzeroupper and leaves them zero.
inline void markVectorUppers() { __asm__ volatile("vpcmpeqd %%ymm7, %%ymm7, %%ymm7" ::: "xmm7"); }

inline bool vectorUppersCleared() {
    unsigned char upper[16];
    __asm__ volatile("vextractf128 $1, %%ymm7, %0\n\tvzeroupper" : "=m"(upper) : : "xmm7");
    const unsigned char zero[16] = {};
    return std::memcmp(upper, zero, sizeof upper) == 0;
}

}  // namespace sorvel::pe
