// The demo's test picture, drawn in code: a colour wheel, patches of the
// saturated primaries and secondaries and of skin tones, a ramp of muted
// colours and a grey ramp through every level from 0 to 255.
#pragma once

#include <array>

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

constexpr int kTestImageWidth = 320;
constexpr int kTestImageHeight = 200;

// Where the parts of the picture lie, so that tests and the sheet can find them.
struct TestImageLayout {
    int wheelCentreX, wheelCentreY, wheelRadius;
    std::array<Rect, 10> patches;  // red, green, blue, cyan, magenta, yellow, 4 skin tones
    Rect mutedRamp;
    Rect greyRamp;
};

const TestImageLayout& testImageLayout();

// The colours of the patches, in the order of the layout.
const std::array<Pixel32, 10>& patchColours();

Image makeTestImage();

// Hue (turns), saturation and value (0..1) to an opaque pixel, rounded to
// the nearest level.
Pixel32 pixelFromHsv(double hue, double saturation, double value);

}  // namespace sorvel::cli
