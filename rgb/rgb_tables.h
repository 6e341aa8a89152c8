// The RGB curves as tables: each channel's 256 results, filled once per frame
// with the curve arithmetic itself, then a lookup per channel and pixel.
#pragma once

#include "core/pixel.h"
#include "rgb/rgb_transform.h"

namespace sorvel::rgb {

// Each result already shifted to its channel's place in the output word.
struct CurveTables {
    Pixel32 red[256], green[256], blue[256];
};

CurveTables curveTables(const Coefficients& c);

// Each channel's 256 results as bytes, for the vector kernel.
struct CurveBytes {
    unsigned char blue[256], green[256], red[256];
};

CurveBytes curveBytes(const Coefficients& c);

// One row of width pixels; src and dst may be the same row.
void transformRowFromTables(const CurveTables& t, const unsigned char* src, unsigned char* dst, int width);

}  // namespace sorvel::rgb
