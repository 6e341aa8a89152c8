// The transforms are bit-exact only under the default floating-point
// environment (round to nearest, no flush of subnormals). A host may call in
// with another one; this switches to the default for a scope and puts the
// host's own environment back afterwards, as frei0r asks of an update.
#pragma once

#include <cfenv>

namespace sorvel::frei0r {

class DefaultFloatEnv {
public:
    DefaultFloatEnv() noexcept {
        std::fegetenv(&saved_);
        std::fesetenv(FE_DFL_ENV);
    }
    ~DefaultFloatEnv() { std::fesetenv(&saved_); }
    DefaultFloatEnv(const DefaultFloatEnv&) = delete;
    DefaultFloatEnv& operator=(const DefaultFloatEnv&) = delete;

private:
    std::fenv_t saved_{};
};

}  // namespace sorvel::frei0r
