// The transforms are bit-exact only under the default floating-point
// environment (round to nearest, no flush of subnormals). A host may call in
// with another one; this switches to the default for a scope and puts the
// host's own environment back afterwards.
//
// On x86 the arithmetic runs in SSE registers, so the SSE control register
// is what counts; it is set directly because the C library's default
// environment does not reset it everywhere (mingw-w64's does not). Other
// processors go through <cfenv>.
#pragma once

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>
#else
#include <cfenv>
#endif

namespace sorvel {

class DefaultFloatEnv {
public:
#if defined(__SSE2__) || defined(_M_X64)
    // All exceptions masked, round to nearest, no flush to zero, flags clear.
    static constexpr unsigned int kDefaultCsr = 0x1F80;

    DefaultFloatEnv() noexcept : saved_(_mm_getcsr()) { _mm_setcsr(kDefaultCsr); }
    ~DefaultFloatEnv() { _mm_setcsr(saved_); }
#else
    DefaultFloatEnv() noexcept {
        std::fegetenv(&saved_);
        std::fesetenv(FE_DFL_ENV);
    }
    ~DefaultFloatEnv() { std::fesetenv(&saved_); }
#endif
    DefaultFloatEnv(const DefaultFloatEnv&) = delete;
    DefaultFloatEnv& operator=(const DefaultFloatEnv&) = delete;

private:
#if defined(__SSE2__) || defined(_M_X64)
    unsigned int saved_;
#else
    std::fenv_t saved_{};
#endif
};

}  // namespace sorvel
