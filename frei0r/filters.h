// What the frei0r libraries tell a host about each filter, and how each
// filter's three parameters sit in its parameter record.
#pragma once

#include <cstdint>

#include "core/image_view.h"
#include "frame/portable/filter_record.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "sorvel_version.h"
#include "yiq/yiq_transform.h"

namespace sorvel::frei0r {

constexpr int kParameterCount = 3;

constexpr const char* kAuthor = "Vornak Software";
constexpr int kMajorVersion = SORVEL_VERSION_MAJOR;
constexpr int kMinorVersion = SORVEL_VERSION_MINOR;

// Each filter: its record (names and texts), its parameter record with the
// fields in the order of the host's parameter indices (that of the Windows
// filters' Config), and its render procedure.
struct YiqFilter {
    using Params = yiq::Params;
    static constexpr const FilterRecord& record = yiq::kRecord;
    static constexpr std::int32_t Params::*fields[kParameterCount] = {&Params::balance, &Params::intensity,
                                                                      &Params::saturation};
    static constexpr Params defaults = yiq::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { yiq::render(p, s, d); }
};

struct RgbFilter {
    using Params = rgb::Params;
    static constexpr const FilterRecord& record = rgb::kRecord;
    static constexpr std::int32_t Params::*fields[kParameterCount] = {&Params::red, &Params::green, &Params::blue};
    static constexpr Params defaults = rgb::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { rgb::render(p, s, d); }
};

struct HsvFilter {
    using Params = hsv::Params;
    static constexpr const FilterRecord& record = hsv::kRecord;
    static constexpr std::int32_t Params::*fields[kParameterCount] = {&Params::hue, &Params::saturation,
                                                                      &Params::value};
    static constexpr Params defaults = hsv::kDefaults;
    static void render(const Params& p, const SourceImage& s, const DestImage& d) { hsv::render(p, s, d); }
};

}  // namespace sorvel::frei0r
