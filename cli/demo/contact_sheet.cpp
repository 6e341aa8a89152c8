#include "cli/demo/contact_sheet.h"

#include <cstddef>

#include "cli/demo/font.h"

namespace sorvel::cli {
namespace {

constexpr Pixel32 kPaper = opaque(240, 240, 240);
constexpr Pixel32 kInk = opaque(16, 16, 16);

}  // namespace

int lineHeight(const SheetSpec& grid) { return (kGlyphHeight + 3) * grid.textScale; }

SheetLayout layoutSheet(const SheetSpec& grid, int count) {
    SheetLayout layout;
    const int rows = (count + grid.columns - 1) / grid.columns;
    const int labelHeight = grid.labelLines * lineHeight(grid);
    const int cellHeight = grid.tileHeight + grid.textScale * 2 + labelHeight;
    layout.width = 2 * grid.margin + grid.columns * grid.tileWidth + (grid.columns - 1) * grid.gap;
    layout.title = Rect{grid.margin, grid.margin, layout.width - 2 * grid.margin, lineHeight(grid)};
    const int top = layout.title.y + layout.title.height + grid.gap;
    for (int i = 0; i < count; ++i) {
        const int x = grid.margin + (i % grid.columns) * (grid.tileWidth + grid.gap);
        const int y = top + (i / grid.columns) * (cellHeight + grid.gap);
        layout.tiles.push_back(Rect{x, y, grid.tileWidth, grid.tileHeight});
        layout.labels.push_back(Rect{x, y + grid.tileHeight + grid.textScale * 2, grid.tileWidth, labelHeight});
    }
    layout.height = top + rows * cellHeight + (rows > 0 ? rows - 1 : 0) * grid.gap + grid.margin;
    return layout;
}

Image composeSheet(const SheetSpec& grid, const std::string& title, const std::vector<SheetTile>& tiles) {
    const SheetLayout layout = layoutSheet(grid, static_cast<int>(tiles.size()));
    Image sheet(layout.width, layout.height, kPaper);
    drawText(sheet, layout.title.x, layout.title.y, title, grid.textScale, kInk);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Rect& r = layout.tiles[i];
        const Image& tile = *tiles[i].image;
        for (int y = 0; y < r.height && y < tile.height; ++y)
            for (int x = 0; x < r.width && x < tile.width; ++x) sheet.at(r.x + x, r.y + y) = tile.at(x, y);
        const Rect& label = layout.labels[i];
        for (std::size_t line = 0; line < tiles[i].lines.size(); ++line)
            drawText(sheet, label.x, label.y + static_cast<int>(line) * lineHeight(grid), tiles[i].lines[line],
                     grid.textScale, kInk);
    }
    return sheet;
}

}  // namespace sorvel::cli
