#include "frei0r/parameter_scale.h"

#include <cmath>

namespace sorvel::frei0r {

std::optional<std::int32_t> positionFromFraction(double x) {
    if (std::isnan(x)) return std::nullopt;
    if (!(x > 0.0)) return 0;
    if (x >= 1.0) return kSliderMax;
    // x * 300 lies in (0, 300) here, so the conversion cannot overflow;
    // lround rounds halves away from zero whatever the rounding mode.
    return static_cast<std::int32_t>(std::lround(x * kSliderMax));
}

double fractionFromPosition(std::int32_t position) { return static_cast<double>(position) / kSliderMax; }

}  // namespace sorvel::frei0r
