// A contact sheet: equal tiles in rows, each with lines of text beneath it,
// under a title.
#pragma once

#include <string>
#include <vector>

#include "cli/demo/test_image.h"
#include "cli/grading/whole_image.h"

namespace sorvel::cli {

struct SheetSpec {
    int columns;
    int tileWidth, tileHeight;
    int textScale;   // font pixels per glyph pixel
    int labelLines;  // lines of text under each tile
    int margin;      // around the whole sheet
    int gap;         // between tiles, and between the title and the first row
};

struct SheetLayout {
    int width = 0, height = 0;
    Rect title{};
    std::vector<Rect> tiles;   // row by row, left to right
    std::vector<Rect> labels;  // the text area under each tile
};

int lineHeight(const SheetSpec& grid);

SheetLayout layoutSheet(const SheetSpec& grid, int count);

struct SheetTile {
    const Image* image;  // tileWidth x tileHeight
    std::vector<std::string> lines;
};

Image composeSheet(const SheetSpec& grid, const std::string& title, const std::vector<SheetTile>& tiles);

}  // namespace sorvel::cli
