// The three filters behind one interface, for the checks that run every
// kernel of each against its scalar path and for the benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/kernel.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::test {

enum class Filter { yiq, rgb, hsv };

struct FilterRun {
    Filter filter;
    std::int32_t a, b, c;  // parameters 1 to 3, in the order of Config
};

inline const char* filterName(Filter f) {
    switch (f) {
        case Filter::yiq: return "yiq";
        case Filter::rgb: return "rgb";
        case Filter::hsv: return "hsv";
    }
    return "?";
}

inline std::string describe(const FilterRun& r) {
    return std::string(filterName(r.filter)) + "(" + std::to_string(r.a) + ", " + std::to_string(r.b) + ", " +
           std::to_string(r.c) + ")";
}

// The kernels of the filter other than the scalar one that run here.
inline std::vector<Kernel> optimizedKernels(Filter f) {
    std::vector<Kernel> out;
    const auto add = [&out](const auto& kernels) {
        for (Kernel k : kernels)
            if (k != Kernel::scalar && kernelRuns(k)) out.push_back(k);
    };
    switch (f) {
        case Filter::yiq: add(yiq::kKernels); break;
        case Filter::rgb: add(rgb::kKernels); break;
        case Filter::hsv: add(hsv::kKernels); break;
    }
    return out;
}

inline void renderWith(Kernel kernel, const FilterRun& r, const SourceImage& src, const DestImage& dst) {
    switch (r.filter) {
        case Filter::yiq: yiq::renderWith(kernel, {r.a, r.b, r.c}, src, dst); break;
        case Filter::rgb: rgb::renderWith(kernel, {r.a, r.b, r.c}, src, dst); break;
        case Filter::hsv: hsv::renderWith(kernel, {r.a, r.b, r.c}, src, dst); break;
    }
}

// The scalar path, pixel by pixel: the reference every kernel must match.
class ScalarReference {
public:
    explicit ScalarReference(const FilterRun& r)
        : run_(r), yiq_(yiq::coefficients({r.a, r.b, r.c})), rgb_(rgb::coefficients({r.a, r.b, r.c})),
          hsv_(hsv::coefficients({r.a, r.b, r.c})) {}

    Pixel32 operator()(Pixel32 p) const {
        switch (run_.filter) {
            case Filter::yiq: return yiq::transformPixel(yiq_, p);
            case Filter::rgb: return rgb::transformPixel(rgb_, p);
            case Filter::hsv: return hsv::transformPixel(hsv_, p);
        }
        return 0;
    }

private:
    FilterRun run_;
    yiq::Coefficients yiq_;
    rgb::Coefficients rgb_;
    hsv::Coefficients hsv_;
};

}  // namespace sorvel::test
