// A small built-in bitmap font for the labels of the contact sheet: 5 x 8
// pixel glyphs (the last row for descenders) for the printable ASCII characters.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "cli/grading/whole_image.h"

namespace sorvel::cli {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 8;
constexpr int kGlyphAdvance = 6;  // one blank column between characters

// Rows top to bottom; bit 4 is the leftmost column. Characters outside
// ' '..'~' are drawn as '?'.
const std::array<std::uint8_t, kGlyphHeight>& glyph(char c);

// Width in pixels of text drawn at the scale (the trailing blank column of
// the last character not counted).
int textWidth(std::string_view text, int scale);

// Draws text with its top-left corner at (x, y), each font pixel a
// scale x scale square; whatever falls outside the image is clipped.
void drawText(Image& image, int x, int y, std::string_view text, int scale, Pixel32 colour);

}  // namespace sorvel::cli
