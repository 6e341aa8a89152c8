// PNG files of every colour type and depth for the reader's tests, written
// with libpng directly, and an independent reader for the writer's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sorvel::cli::testing {

struct PngSpec {
    int width = 1, height = 1;
    int bitDepth = 8;
    int colourType = 0;  // PNG_COLOR_TYPE_*
    bool interlaced = false;
    std::vector<std::vector<std::uint8_t>> rows;  // packed as the file stores them
    std::vector<std::uint8_t> palette;            // r, g, b per entry
    std::vector<std::uint8_t> transparency;       // tRNS: alpha per palette entry,
                                                  // or the transparent grey/colour samples
};

// Returns false when libpng refused the shape.
bool writeSpecPng(const std::string& path, const PngSpec& shape);

struct DecodedPng {
    bool ok = false;
    int width = 0, height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> bgra;  // pixel words, alpha in the top byte
};

// Reads a PNG through libpng's simplified interface as BGRA words.
DecodedPng decodePng(const std::string& path);

std::vector<std::uint8_t> fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace sorvel::cli::testing
