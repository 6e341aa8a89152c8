#include "rgb/rgb_tables.h"

namespace sorvel::rgb {

CurveTables curveTables(const Coefficients& c) {
    CurveTables t{};
    for (int v = 0; v < 256; ++v) {
        t.red[v] = packRgb(applyCurve(c.red, v), 0, 0);
        t.green[v] = packRgb(0, applyCurve(c.green, v), 0);
        t.blue[v] = packRgb(0, 0, applyCurve(c.blue, v));
    }
    return t;
}

CurveBytes curveBytes(const Coefficients& c) {
    CurveBytes t{};
    for (int v = 0; v < 256; ++v) {
        t.blue[v] = static_cast<unsigned char>(applyCurve(c.blue, v));
        t.green[v] = static_cast<unsigned char>(applyCurve(c.green, v));
        t.red[v] = static_cast<unsigned char>(applyCurve(c.red, v));
    }
    return t;
}

void transformRowFromTables(const CurveTables& t, const unsigned char* src, unsigned char* dst, int width) {
    for (int x = 0; x < width; ++x) {
        const Pixel32 p = loadPixel(src + 4 * x);
        storePixel(dst + 4 * x, t.red[(p >> 16) & 0xFF] | t.green[(p >> 8) & 0xFF] | t.blue[p & 0xFF]);
    }
}

}  // namespace sorvel::rgb
