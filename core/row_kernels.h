// Choosing a filter's row function by kernel, and rendering a frame with it.
#pragma once

#include "core/image_view.h"
#include "core/kernel.h"

namespace sorvel {

template <class Coefficients>
using RowFunction = void (*)(const Coefficients&, const unsigned char* src, unsigned char* dst, int width);

// The vector row functions of a filter, or none in a build without them.
template <class Coefficients>
struct VectorRows {
    RowFunction<Coefficients> sse2 = nullptr;
    RowFunction<Coefficients> avx2 = nullptr;
};

// The row function of kernel, or the scalar one where this build or this CPU
// has no such kernel.
template <class Coefficients>
RowFunction<Coefficients> rowFunctionFor(Kernel kernel, RowFunction<Coefficients> scalar,
                                         const VectorRows<Coefficients>& vector) {
    RowFunction<Coefficients> chosen = nullptr;
    if (kernel == Kernel::sse2) chosen = vector.sse2;
    if (kernel == Kernel::avx2) chosen = vector.avx2;
    return chosen != nullptr && kernelRuns(kernel) ? chosen : scalar;
}

template <class Coefficients>
void renderRows(const Coefficients& c, RowFunction<Coefficients> row, const SourceImage& src, const DestImage& dst) {
    forEachRow(src, dst, [&c, row](const unsigned char* s, unsigned char* d, int w) { row(c, s, d, w); });
}

}  // namespace sorvel
