// Compares a computed value with a decimal written to a limited number of
// significant digits: it matches when it lies within half a unit of the
// decimal's last written digit.
#pragma once

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace sorvel::test {

inline int significantDigits(const std::string& decimal) {
    int digits = 0;
    bool leading = true;
    for (char ch : decimal) {
        if (ch == 'e' || ch == 'E') break;
        if (!std::isdigit(static_cast<unsigned char>(ch))) continue;
        if (leading && ch == '0') continue;
        leading = false;
        ++digits;
    }
    return digits;
}

inline bool matchesDecimal(double value, const std::string& decimal) {
    const double written = std::strtod(decimal.c_str(), nullptr);
    if (written == 0) return value == 0;
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(written))));
    const double halfUnit = 0.5 * std::pow(10.0, exponent - significantDigits(decimal) + 1);
    return std::fabs(value - written) <= halfUnit;
}

}  // namespace sorvel::test
