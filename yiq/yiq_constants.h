// Colour constants of the YIQ transform, shared by the scalar path and the
// vector kernels. All are singles except the luma scale.
#pragma once

namespace sorvel::yiq::constants {

// Forward conversion; the negative coefficients of I and Q are held positive
// and subtracted.
constexpr float kYr = 0.299f, kYg = 0.587f, kYb = 0.114f;
constexpr float kIr = 0.596f, kIg = 0.275f, kIb = 0.321f;
constexpr float kQr = 0.212f, kQg = 0.523f, kQb = 0.311f;
// Back conversion of the balanced relative chroma to each channel's term.
constexpr float kRedQ = 0.62f, kRedI = 0.956f;
constexpr float kGreenI = -0.272f, kGreenQ = 0.647f;
constexpr float kBlueQ = 1.705f, kBlueI = 1.108f;
constexpr double kLumaScale = 255.99;  // a double, unlike every other constant

}  // namespace sorvel::yiq::constants
