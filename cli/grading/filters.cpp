#include "cli/grading/filters.h"

#include <algorithm>
#include <cstddef>

#include "core/image_view.h"
#include "frame/portable/filter_record.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {

namespace {

constexpr bool rangeIsTheDialogs(const FilterRecord& r) {
    for (const ParameterRecord& p : r.parameters)
        if (p.minimum != kParameterMin || p.maximum != kParameterMax) return false;
    return true;
}
static_assert(rangeIsTheDialogs(yiq::kRecord) && rangeIsTheDialogs(rgb::kRecord) && rangeIsTheDialogs(hsv::kRecord),
              "the command line's range is not every parameter's");

// The command line's view of a filter's record.
FilterInfo fromRecord(FilterKind kind, const char* name, const FilterRecord& r) {
    FilterInfo info{kind, name, r.title, r.library, r.summary, {}};
    for (std::size_t i = 0; i < info.parameters.size(); ++i) {
        const ParameterRecord& p = r.parameters[i];
        info.parameters[i] = {p.commandName, p.defaultValue, p.explanation};
    }
    return info;
}

}  // namespace

const std::array<FilterInfo, 3>& allFilters() {
    static const std::array<FilterInfo, 3> filters{{
        fromRecord(FilterKind::yiq, "yiq", yiq::kRecord),
        fromRecord(FilterKind::rgb, "rgb", rgb::kRecord),
        fromRecord(FilterKind::hsv, "hsv", hsv::kRecord),
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
        forEachRow(src, dst,
                   [rowBytes](const unsigned char* s, unsigned char* d, int) { std::copy(s, s + rowBytes, d); });
    for (const FilterStep& step : chain) {
        renderStep(step, src, dst);
        src = SourceImage{out, width, height, outPitch};
    }
    // Alpha is the top byte of each little-endian pixel word.
    forEachRow(SourceImage{in, width, height, inPitch}, dst, [rowBytes](const unsigned char* s, unsigned char* d, int) {
        for (std::size_t i = 3; i < rowBytes; i += 4) d[i] = s[i];
    });
}

}  // namespace sorvel::cli
