// x to the power y in double precision, computed with double-double
// arithmetic from IEEE basic operations only, so that it gives the same bits
// on every platform and under any x87 state a host leaves behind. The result
// is the exact power rounded to double, except where the exact value lies
// within about 2^-100 relative of a rounding boundary.
#pragma once

namespace sorvel {

double accuratePow(double x, double y);

}  // namespace sorvel
