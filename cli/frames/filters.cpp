#include "cli/frames/filters.h"

#include <algorithm>
#include <cstddef>

#include "core/image.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {

const std::array<FilterInfo, 3>& allFilters() {
    static const std::array<FilterInfo, 3> filters{{
        {FilterKind::yiq, "yiq", "Video Sorvel (YIQ) v1.0", "sorvYIQ.vdf",
         "Brightens through a luma curve, strengthens colour through a chroma curve, and shifts "
         "colour between the orange-blue (I) and purple-green (Q) axes.",
         {{{"balance", yiq::kDefaults.balance,
            "Weight between the two colour axes; 150 is neutral. While saturation is below 144, "
            "values under 150 strengthen the orange-blue axis and weaken the purple-green one, and "
            "values over 150 do the opposite; from saturation 144 up the direction turns round. "
            "At low saturation even a few steps away from 150 act strongly."},
           {"intensity", yiq::kDefaults.intensity,
            "Brightness curve: lifts dark and middle tones while black stays black. 0 leaves "
            "brightness as it is; 300 lifts the most (a middle grey 128 becomes 232)."},
           {"saturation", yiq::kDefaults.saturation,
            "Colour curve: strengthens colour relative to brightness. 0 leaves colour as it is; "
            "300 strengthens it the most."}}}},
        {FilterKind::rgb, "rgb", "Video Sorvel (RGB) v1.0", "sorvRGB.vdf",
         "Lifts the red, green and blue channels each through a curve of its own. Black and full "
         "intensity stay where they are; every level in between rises.",
         {{{"red", rgb::kDefaults.red,
            "Gain of the red channel. 0 leaves red unchanged; 300 lifts it the most (128 becomes "
            "232)."},
           {"green", rgb::kDefaults.green, "Gain of the green channel, alike."},
           {"blue", rgb::kDefaults.blue, "Gain of the blue channel, alike."}}}},
        {FilterKind::hsv, "hsv", "Video Sorvel (saturation/value) v1.0", "sorvSV.vdf",
         "Turns every hue round the colour wheel and makes colours more vivid and brighter "
         "through curves on saturation and value.",
         {{{"hue", hsv::kDefaults.hue,
            "Turn of the colour wheel, 1/300 of a turn per step; 150 leaves hues alone. Above "
            "150 red turns towards yellow and green, below 150 towards magenta and blue; 0 and "
            "300 turn half a turn (red becomes cyan)."},
           {"saturation", hsv::kDefaults.saturation,
            "Saturation curve: makes colours more vivid while greys stay grey. 0 leaves "
            "saturation as it is; 300 raises it the most."},
           {"value", hsv::kDefaults.value,
            "Value curve: brightens every colour while black stays black. 0 leaves value as it "
            "is; 300 lifts the most (a grey 64 becomes 196)."}}}},
    }};
    return filters;
}

const FilterInfo* findFilter(std::string_view name) {
    for (const FilterInfo& f : allFilters())
        if (name == f.name) return &f;
    return nullptr;
}

namespace {

void renderStep(const FilterStep& step, const SourceImage& src, const DestImage& dst) {
    const auto& p = step.parameters;
    switch (step.filter->kind) {
        case FilterKind::yiq: yiq::render(yiq::Params{p[0], p[1], p[2]}, src, dst); break;
        case FilterKind::rgb: rgb::render(rgb::Params{p[0], p[1], p[2]}, src, dst); break;
        case FilterKind::hsv: hsv::render(hsv::Params{p[0], p[1], p[2]}, src, dst); break;
    }
}

}  // namespace

// The transforms write through out (a DestImage), which the check misses.
void applyChain(const FilterChain& chain, const unsigned char* in, std::ptrdiff_t inPitch,
                unsigned char* out,  // NOLINT(readability-non-const-parameter)
                std::ptrdiff_t outPitch, int width, int height) {
    if (width <= 0 || height <= 0) return;
    const DestImage dst{out, outPitch};
    // The first step reads the input; every later one works in place.
    SourceImage src{in, width, height, inPitch};
    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    if (chain.empty())
        forEachRow(src, dst, [rowBytes](const unsigned char* s, unsigned char* d, int) {
            std::copy(s, s + rowBytes, d);
        });
    for (const FilterStep& step : chain) {
        renderStep(step, src, dst);
        src = SourceImage{out, width, height, outPitch};
    }
    // Alpha is the top byte of each little-endian pixel word.
    forEachRow(SourceImage{in, width, height, inPitch}, dst,
               [rowBytes](const unsigned char* s, unsigned char* d, int) {
                   for (std::size_t i = 3; i < rowBytes; i += 4) d[i] = s[i];
               });
}

}  // namespace sorvel::cli
