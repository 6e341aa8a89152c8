#include "core/accurate_pow.h"

#include <cmath>
#include <limits>

namespace sorvel {
namespace {

// A value hi + lo with |lo| at most half an ulp of hi.
struct DoubleDouble {
    double hi, lo;
};

DoubleDouble quickTwoSum(double a, double b) {  // needs |a| >= |b|
    const double s = a + b;
    return {s, b - (s - a)};
}

DoubleDouble twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Dekker's exact product, without fused multiply-add.
DoubleDouble twoProduct(double a, double b) {
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double ta = kSplitter * a, tb = kSplitter * b;
    const double aHi = ta - (ta - a), aLo = a - aHi;
    const double bHi = tb - (tb - b), bLo = b - bHi;
    const double p = a * b;
    return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
}

DoubleDouble add(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble s = twoSum(x.hi, y.hi);
    const DoubleDouble t = twoSum(x.lo, y.lo);
    DoubleDouble r = quickTwoSum(s.hi, s.lo + t.hi);
    return quickTwoSum(r.hi, r.lo + t.lo);
}

DoubleDouble negate(DoubleDouble x) { return {-x.hi, -x.lo}; }

DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble p = twoProduct(x.hi, y.hi);
    return quickTwoSum(p.hi, p.lo + (x.hi * y.lo + x.lo * y.hi));
}

DoubleDouble divide(DoubleDouble x, DoubleDouble y) {
    const double q1 = x.hi / y.hi;
    DoubleDouble r = add(x, negate(multiply(y, {q1, 0})));
    const double q2 = r.hi / y.hi;
    r = add(r, negate(multiply(y, {q2, 0})));
    const double q3 = r.hi / y.hi;
    return add(quickTwoSum(q1, q2), {q3, 0});
}

constexpr DoubleDouble kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// Natural logarithm of a positive finite x.
DoubleDouble logarithm(double x) {
    int e;
    double m = std::frexp(x, &e);    // x = m * 2^e, m in [0.5, 1)
    if (m < 0x1.6a09e667f3bcdp-1) {  // below sqrt(1/2): use [sqrt(1/2), sqrt(2))
        m *= 2;
        --e;
    }
    // log m = 2 atanh(s) = 2 (s + s^3/3 + s^5/5 + ...), s = (m - 1) / (m + 1), |s| < 0.172.
    const DoubleDouble s = divide({m - 1.0, 0}, twoSum(m, 1.0));
    const DoubleDouble s2 = multiply(s, s);
    DoubleDouble sum = {0, 0};
    for (int k = 45; k >= 3; k -= 2) sum = multiply(add(sum, divide({1, 0}, {double(k), 0})), s2);
    const DoubleDouble atanh = multiply(s, add(sum, {1, 0}));
    return add(multiply(kLn2, {double(e), 0}), add(atanh, atanh));
}

// e^z for |z.hi| within the double range's exponents.
double exponential(DoubleDouble z) {
    const double k = std::floor(z.hi / kLn2.hi + 0.5);
    DoubleDouble r = add(z, negate(multiply(kLn2, {k, 0})));  // |r| <= ~0.35
    r = {std::ldexp(r.hi, -10), std::ldexp(r.lo, -10)};       // exact scaling
    // Taylor series of e^r - 1, then undo the scaling by squaring:
    // (1 + t)^2 - 1 = t (2 + t) keeps the small part exact.
    DoubleDouble t = {0, 0};
    for (int n = 14; n >= 1; --n) t = multiply(add(t, {1, 0}), divide(r, {double(n), 0}));
    for (int i = 0; i < 10; ++i) t = multiply(t, add(t, {2, 0}));
    const DoubleDouble result = add(t, {1, 0});
    return std::ldexp(result.hi + result.lo, static_cast<int>(k));
}

bool isInteger(double y) { return std::floor(y) == y; }
bool isOddInteger(double y) { return isInteger(y) && std::fabs(std::fmod(y, 2.0)) == 1.0; }

}  // namespace

double accuratePow(double x, double y) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    if (y == 0 || x == 1) return 1;
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<double>::quiet_NaN();

    // Zeros and infinities of x keep their sign for odd integer powers.
    const double oddSign = std::signbit(x) && isOddInteger(y) ? -1.0 : 1.0;
    if (x == 0) return oddSign * (y < 0 ? kInf : 0.0);
    if (std::isinf(x)) return oddSign * (y < 0 ? 0.0 : kInf);
    if (std::isinf(y)) {
        const double magnitude = std::fabs(x);
        if (magnitude == 1) return 1;
        return (magnitude < 1) == (y > 0) ? 0.0 : kInf;
    }
    if (x < 0) {
        if (!isInteger(y)) return std::numeric_limits<double>::quiet_NaN();
        x = -x;
    }

    const DoubleDouble z = multiply(logarithm(x), {y, 0});
    if (z.hi > 709.8) return oddSign * kInf;
    if (z.hi < -746.0) return oddSign * 0.0;
    return oddSign * exponential(z);
}

}  // namespace sorvel
