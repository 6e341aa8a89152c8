#include "cli/contact_sheet.h"

#include <cstddef>

#include "cli/font.h"

namespace sorvel::cli {
namespace {

constexpr Pixel32 kPaper = opaque(240, 240, 240);
constexpr Pixel32 kInk = opaque(16, 16, 16);

}  // namespace

int lineHeight(const SheetSpec& spec) { return (kGlyphHeight + 3) * spec.textScale; }

SheetLayout layoutSheet(const SheetSpec& spec, int count) {
    SheetLayout layout;
    const int rows = (count + spec.columns - 1) / spec.columns;
    const int labelHeight = spec.labelLines * lineHeight(spec);
    const int cellHeight = spec.tileHeight + spec.textScale * 2 + labelHeight;
    layout.width = 2 * spec.margin + spec.columns * spec.tileWidth + (spec.columns - 1) * spec.gap;
    layout.title = Rect{spec.margin, spec.margin, layout.width - 2 * spec.margin, lineHeight(spec)};
    const int top = layout.title.y + layout.title.height + spec.gap;
    for (int i = 0; i < count; ++i) {
        const int x = spec.margin + (i % spec.columns) * (spec.tileWidth + spec.gap);
        const int y = top + (i / spec.columns) * (cellHeight + spec.gap);
        layout.tiles.push_back(Rect{x, y, spec.tileWidth, spec.tileHeight});
        layout.labels.push_back(
            Rect{x, y + spec.tileHeight + spec.textScale * 2, spec.tileWidth, labelHeight});
    }
    layout.height = top + rows * cellHeight + (rows > 0 ? rows - 1 : 0) * spec.gap + spec.margin;
    return layout;
}

Image composeSheet(const SheetSpec& spec, const std::string& title,
                   const std::vector<SheetTile>& tiles) {
    const SheetLayout layout = layoutSheet(spec, static_cast<int>(tiles.size()));
    Image sheet(layout.width, layout.height, kPaper);
    drawText(sheet, layout.title.x, layout.title.y, title, spec.textScale, kInk);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Rect& r = layout.tiles[i];
        const Image& tile = *tiles[i].image;
        for (int y = 0; y < r.height && y < tile.height; ++y)
            for (int x = 0; x < r.width && x < tile.width; ++x) sheet.at(r.x + x, r.y + y) = tile.at(x, y);
        const Rect& label = layout.labels[i];
        for (std::size_t line = 0; line < tiles[i].lines.size(); ++line)
            drawText(sheet, label.x, label.y + static_cast<int>(line) * lineHeight(spec),
                     tiles[i].lines[line], spec.textScale, kInk);
    }
    return sheet;
}

}  // namespace sorvel::cli
