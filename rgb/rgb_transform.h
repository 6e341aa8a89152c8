// Per-channel gain curves: red, green and blue each through a curve of its own.
#pragma once

#include <cstdint>

#include "core/image_view.h"
#include "core/kernel.h"
#include "core/pixel.h"
#include "rgb_record.h"

namespace sorvel::rgb {

struct Params {
    std::int32_t red, green, blue;  // gains, 0 leaves a channel unchanged
};

// The defaults of the host's init procedure and the dialog.
constexpr Params kDefaults{kRecord.parameters[0].defaultValue, kRecord.parameters[1].defaultValue,
                           kRecord.parameters[2].defaultValue};

// A gain as a fraction of its range: 1/300 in single precision.
constexpr float kGainScale = 0.0033333334f;

// Curve strength k and k + 1 of one channel, both single precision.
struct Curve {
    float k, k1;
};

Curve curveForGain(std::int32_t gain);

// Maps a channel value 0..255 through the curve. Within the gains -144 and
// up the result is the floor of the curve, which already lies in 0..255.
// Below that the curve can leave the range or be undefined: the result is
// then clamped to 0..255, and an undefined (NaN) value gives 0.
int applyCurve(const Curve& curve, int value);

struct Coefficients {
    Curve red, green, blue;
};

Coefficients coefficients(const Params& params);

Pixel32 transformPixel(const Coefficients& c, Pixel32 source);

// The scalar path: one row of width pixels, pixel by pixel; src and dst may
// be the same row.
void transformRow(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);

// The kernels this filter renders with, fastest last.
inline constexpr Kernel kKernels[] = {Kernel::scalar, Kernel::table, Kernel::avx2};

// Renders with the given kernel; one that this build or CPU cannot run
// falls back to the scalar path. Every kernel gives the same image.
void renderWith(Kernel kernel, const Params& params, const SourceImage& src, const DestImage& dst);

// Renders with the fastest kernel that runs here.
void render(const Params& params, const SourceImage& src, const DestImage& dst);

}  // namespace sorvel::rgb
