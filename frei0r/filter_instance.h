// One frei0r effect instance of a filter: its frame size, its three slider
// positions, and scratch rows. Instances share nothing, so a host may use
// several from different threads.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "core/default_float_env.h"
#include "core/image_view.h"
#include "frei0r/alpha.h"
#include "frei0r/filters.h"
#include "frei0r/parameter_scale.h"

namespace sorvel::frei0r {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "BGRA8888 bytes form the core's pixel word only on little-endian machines");

// Rows are rendered a band at a time into scratch memory of about this many
// pixels, then merged with the source's alpha into the output.
constexpr std::size_t kBandPixels = 16384;

// The core addresses rows with int widths and heights and 4-byte pixels.
constexpr unsigned kMaxWidth = INT_MAX / 4;
constexpr unsigned kMaxHeight = INT_MAX;

template <class Filter>
class FilterInstance {
public:
    // Nothing for a size the core cannot address or when memory runs out.
    static std::unique_ptr<FilterInstance> create(unsigned width, unsigned height) noexcept {
        if (width > kMaxWidth || height > kMaxHeight) return nullptr;
        const std::size_t bandRows = std::min<std::size_t>(height,
                                                           std::max<std::size_t>(1, kBandPixels / std::max(width, 1u)));
        try {
            return std::unique_ptr<FilterInstance>(
                new FilterInstance(static_cast<int>(width), static_cast<int>(height), static_cast<int>(bandRows)));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }

    // A fraction of NaN, or an index outside 0..2, changes nothing.
    void setParameter(int index, double fraction) noexcept {
        if (index < 0 || index >= kParameterCount) return;
        if (const auto position = positionFromFraction(fraction)) {
            params_.*Filter::fields[index] = *position;
        }
    }

    std::optional<double> parameter(int index) const noexcept {
        if (index < 0 || index >= kParameterCount) return std::nullopt;
        return fractionFromPosition(params_.*Filter::fields[index]);
    }

    const typename Filter::Params& params() const noexcept { return params_; }

    // Renders a whole frame of width x height words; out may be in.
    void update(const std::uint32_t* in, std::uint32_t* out) noexcept {
        if (in == nullptr || out == nullptr) return;
        const DefaultFloatEnv floatEnv;
        const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(width_) * 4;
        for (int y = 0; y < height_; y += bandRows_) {
            const int rows = std::min(bandRows_, height_ - y);
            const std::size_t offset = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
            const SourceImage src{reinterpret_cast<const unsigned char*>(in + offset), width_, rows, pitch};
            Filter::render(params_, src, {reinterpret_cast<unsigned char*>(band_.data()), pitch});
            carryAlpha(in + offset, band_.data(), out + offset,
                       static_cast<std::size_t>(rows) * static_cast<std::size_t>(width_));
        }
    }

private:
    FilterInstance(int width, int height, int bandRows)
        : width_(width), height_(height), bandRows_(bandRows), params_(Filter::defaults),
          band_(static_cast<std::size_t>(width) * static_cast<std::size_t>(bandRows)) {}

    int width_;
    int height_;
    int bandRows_;
    typename Filter::Params params_;
    std::vector<std::uint32_t> band_;
};

}  // namespace sorvel::frei0r
