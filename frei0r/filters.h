// What the frei0r libraries tell a host about each filter, and how each
// filter's three parameters sit in its parameter record.
#pragma once

#include <cstdint>

#include "core/image.h"
#include "sorvel_version.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::frei0r {

constexpr int kParameterCount = 3;

struct ParameterText {
    const char* name;
    const char* explanation;
};

struct FilterText {
    const char* name;
    const char* author;
    const char* explanation;
    ParameterText parameters[kParameterCount];
};

constexpr const char* kAuthor = "Vornak Software";
constexpr int kMajorVersion = SORVEL_VERSION_MAJOR;
constexpr int kMinorVersion = SORVEL_VERSION_MINOR;

// Each filter: its texts, its parameter record with the fields in the order
// of the host's parameter indices (that of the Windows filters' Config), and
// its render procedure.
struct YiqFilter {
    using Params = yiq::Params;
    static constexpr FilterText text{
        "Video Sorvel (YIQ)",
        kAuthor,
        "Adjust intensity, saturation, and color balance.",
        {{"Balance", "Weight between the I and Q chroma axes; 0.5 is neutral"},
         {"Intensity", "Strength of the brightness curve; 0 leaves brightness unchanged"},
         {"Saturation", "Strength of the colour curve, and base of the balance; 0 is the weakest"}}};
    static constexpr std::int32_t Params::*fields[kParameterCount] = {
        &Params::balance, &Params::intensity, &Params::saturation};
    static constexpr Params defaults = yiq::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { yiq::render(p, s, d); }
};

struct RgbFilter {
    using Params = rgb::Params;
    static constexpr FilterText text{
        "Video Sorvel (RGB)",
        kAuthor,
        "Adjust the red, green and blue levels with a gain curve per channel.",
        {{"Red", "Gain of the red channel: lifts the levels between none and full; 0 leaves red as it is"},
         {"Green", "Gain of the green channel: lifts the levels between none and full; 0 leaves green as it is"},
         {"Blue", "Gain of the blue channel: lifts the levels between none and full; 0 leaves blue as it is"}}};
    static constexpr std::int32_t Params::*fields[kParameterCount] = {&Params::red, &Params::green,
                                                                       &Params::blue};
    static constexpr Params defaults = rgb::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { rgb::render(p, s, d); }
};

struct HsvFilter {
    using Params = hsv::Params;
    static constexpr FilterText text{
        "Video Sorvel (saturation/value)",
        kAuthor,
        "Adjust hue, saturation, value.",
        {{"Hue", "Turn of the hue by (x - 0.5) of a full circle; 0.5 leaves hues unchanged"},
         {"Saturation", "Strength of the saturation boost; 0 leaves saturation unchanged"},
         {"Value", "Strength of the value boost; 0 leaves value unchanged"}}};
    static constexpr std::int32_t Params::*fields[kParameterCount] = {
        &Params::hue, &Params::saturation, &Params::value};
    static constexpr Params defaults = hsv::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { hsv::render(p, s, d); }
};

}  // namespace sorvel::frei0r
