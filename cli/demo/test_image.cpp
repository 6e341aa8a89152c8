#include "cli/demo/test_image.h"

#include <cmath>
#include <cstddef>

namespace sorvel::cli {
namespace {

constexpr Pixel32 kBackground = opaque(64, 64, 64);
constexpr double kPi = 3.14159265358979323846;

int level(double fraction) { return static_cast<int>(std::lround(fraction * 255.0)); }

void fill(Image& image, const Rect& r, Pixel32 colour) {
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) image.at(x, y) = colour;
}

}  // namespace

const TestImageLayout& testImageLayout() {
    static const TestImageLayout layout = [] {
        TestImageLayout l{};
        l.wheelCentreX = 96;
        l.wheelCentreY = 82;
        l.wheelRadius = 76;
        for (std::size_t i = 0; i < l.patches.size(); ++i) {
            const int column = static_cast<int>(i % 2), row = static_cast<int>(i / 2);
            l.patches[i] = Rect{196 + column * 62, 8 + row * 30, 58, 28};
        }
        l.mutedRamp = Rect{0, 164, kTestImageWidth, 16};
        l.greyRamp = Rect{0, 184, kTestImageWidth, 16};
        return l;
    }();
    return layout;
}

const std::array<Pixel32, 10>& patchColours() {
    static const std::array<Pixel32, 10> colours{
        opaque(255, 0, 0),   opaque(0, 255, 0),     opaque(0, 0, 255),     opaque(0, 255, 255),  opaque(255, 0, 255),
        opaque(255, 255, 0), opaque(241, 194, 125), opaque(224, 172, 105), opaque(198, 134, 66), opaque(141, 85, 36)};
    return colours;
}

Pixel32 pixelFromHsv(double hue, double saturation, double value) {
    const double h = (hue - std::floor(hue)) * 6.0;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    const double p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
    double r = value, g = t, b = p;  // sector 0
    // clang-format off
    switch (sector) {
        case 1: r = q; g = value; b = p; break;
        case 2: r = p; g = value; b = t; break;
        case 3: r = p; g = q; b = value; break;
        case 4: r = t; g = p; b = value; break;
        case 5: r = value; g = p; b = q; break;
        default: break;
    }
    // clang-format on
    return opaque(level(r), level(g), level(b));
}

Image makeTestImage() {
    const TestImageLayout& l = testImageLayout();
    Image image(kTestImageWidth, kTestImageHeight, kBackground);
    for (int y = l.wheelCentreY - l.wheelRadius; y <= l.wheelCentreY + l.wheelRadius; ++y) {
        for (int x = l.wheelCentreX - l.wheelRadius; x <= l.wheelCentreX + l.wheelRadius; ++x) {
            const double dx = x - l.wheelCentreX, dy = l.wheelCentreY - y;
            const double r = std::sqrt(dx * dx + dy * dy) / l.wheelRadius;
            if (r > 1.0) continue;
            const double turns = std::atan2(dy, dx) / (2 * kPi);
            image.at(x, y) = pixelFromHsv(turns, r, 1.0);
        }
    }
    for (std::size_t i = 0; i < l.patches.size(); ++i) fill(image, l.patches[i], patchColours()[i]);
    for (int x = 0; x < kTestImageWidth; ++x) {
        const double along = static_cast<double>(x) / (kTestImageWidth - 1);
        const int grey = level(along);
        const Pixel32 muted = pixelFromHsv(along, 0.5, 0.6);
        for (int y = 0; y < l.mutedRamp.height; ++y) image.at(x, l.mutedRamp.y + y) = muted;
        for (int y = 0; y < l.greyRamp.height; ++y) image.at(x, l.greyRamp.y + y) = opaque(grey, grey, grey);
    }
    return image;
}

}  // namespace sorvel::cli
