// Hue turn and saturation/value curves through the hexcone HSV model.
#pragma once

#include <cstdint>

#include "core/image_view.h"
#include "core/kernel.h"
#include "core/pixel.h"
#include "hsv_record.h"

namespace sorvel::hsv {

struct Params {
    std::int32_t hue;         // turn of (hue - 150) / 300 of a circle
    std::int32_t saturation;  // strength of the saturation boost
    std::int32_t value;       // strength of the value boost
};

// The defaults of the host's init procedure and the dialog.
constexpr Params kDefaults{kRecord.parameters[0].defaultValue, kRecord.parameters[1].defaultValue,
                           kRecord.parameters[2].defaultValue};

struct Coefficients {
    double hueShift;  // (hue - 150) / 300 turns, in double precision
    float kS, kS1;    // saturation curve strength and strength + 1
    float kV, kV1;    // value curve strength and strength + 1
};

Coefficients coefficients(const Params& params);

Pixel32 transformPixel(const Coefficients& c, Pixel32 source);

// The scalar path: one row of width pixels, pixel by pixel; src and dst may
// be the same row.
void transformRow(const Coefficients& c, const unsigned char* src, unsigned char* dst, int width);

// The kernels this filter renders with, fastest last.
inline constexpr Kernel kKernels[] = {Kernel::scalar, Kernel::sse2, Kernel::avx2};

// Renders with the given kernel; one that this build or CPU cannot run
// falls back to the scalar path. Every kernel gives the same image.
void renderWith(Kernel kernel, const Params& params, const SourceImage& src, const DestImage& dst);

// Renders with the fastest kernel that runs here.
void render(const Params& params, const SourceImage& src, const DestImage& dst);

}  // namespace sorvel::hsv
