// Luma/chroma curves and I/Q balance, pixel by pixel.
#pragma once

#include <cstdint>

#include "core/image_view.h"
#include "core/kernel.h"
#include "core/pixel.h"
#include "yiq_record.h"

namespace sorvel::yiq {

struct Params {
    std::int32_t balance;     // weight between I and Q, 150 neutral
    std::int32_t intensity;   // strength of the luma curve
    std::int32_t saturation;  // strength of the chroma curve
};

// The defaults of the host's init procedure and the dialog.
constexpr Params kDefaults{kRecord.parameters[0].defaultValue, kRecord.parameters[1].defaultValue,
                           kRecord.parameters[2].defaultValue};

// Derived once per frame from the parameters.
struct Coefficients {
    float kY, kY1;  // luma curve strength and strength + 1
    float kC, kC1;  // chroma curve strength and strength + 1
    float fI, fQ;   // balance factors of the I and Q axes
};

Coefficients coefficients(const Params& params);

Pixel32 transformPixel(const Coefficients& k, Pixel32 source);

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

}  // namespace sorvel::yiq
