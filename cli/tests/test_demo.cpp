#include <gtest/gtest.h>

#include <bitset>
#include <set>
#include <string>
#include <vector>

#include "cli/demo/contact_sheet.h"
#include "cli/demo/demo.h"
#include "cli/demo/font.h"
#include "cli/demo/test_image.h"
#include "cli/media/picture_io.h"
#include "core/image_view.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {
namespace {

TEST(TestImage, HsvColoursLandOnTheirLevels) {
    struct Case {
        double hue, saturation, value;
        Pixel32 pixel;
    };
    const Case cases[] = {
        {0.0, 1, 1, 0xFFFF0000u},      {1.0 / 3, 1, 1, 0xFF00FF00u}, {2.0 / 3, 1, 1, 0xFF0000FFu},
        {1.0 / 6, 1, 1, 0xFFFFFF00u},  {0.5, 1, 1, 0xFF00FFFFu},     {5.0 / 6, 1, 1, 0xFFFF00FFu},
        {-1.0 / 6, 1, 1, 0xFFFF00FFu}, {0.25, 0, 0.5, 0xFF808080u},  {0.0, 0.5, 1, 0xFFFF8080u},
        {1.0 / 12, 1, 1, 0xFFFF8000u}, {0.7, 1, 0, 0xFF000000u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pixelFromHsv(c.hue, c.saturation, c.value), c.pixel) << c.hue << " " << c.saturation;
}

TEST(TestImage, HoldsPrimariesSkinTonesAndEveryGreyLevel) {
    const Image image = makeTestImage();
    const TestImageLayout& l = testImageLayout();
    ASSERT_EQ(image.width, kTestImageWidth);
    ASSERT_EQ(image.height, kTestImageHeight);

    const Pixel32 saturated[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFF00u};
    for (std::size_t i = 0; i < l.patches.size(); ++i) {
        const Rect& r = l.patches[i];
        if (i < 6) {
            EXPECT_EQ(patchColours()[i], saturated[i]) << i;
        }
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                ASSERT_EQ(image.at(x, y), patchColours()[i]) << i << " at " << x << "," << y;
    }
    // Skin tones: red above green above blue, none of them saturated.
    for (std::size_t i = 6; i < 10; ++i) {
        const Pixel32 p = patchColours()[i];
        EXPECT_GT(redOf(p), greenOf(p)) << i;
        EXPECT_GT(greenOf(p), blueOf(p)) << i;
        EXPECT_GT(blueOf(p), 0) << i;
    }

    std::set<int> levels;
    int previous = -1;
    for (int x = 0; x < image.width; ++x) {
        const Pixel32 p = image.at(x, l.greyRamp.y + l.greyRamp.height / 2);
        ASSERT_TRUE(redOf(p) == greenOf(p) && greenOf(p) == blueOf(p)) << x;
        ASSERT_GE(redOf(p), previous) << x;
        previous = redOf(p);
        levels.insert(redOf(p));
    }
    EXPECT_EQ(levels.size(), 256u);

    // The wheel: white at its centre, red on its right edge, cyan on its left.
    EXPECT_EQ(image.at(l.wheelCentreX, l.wheelCentreY), 0xFFFFFFFFu);
    const Pixel32 right = image.at(l.wheelCentreX + l.wheelRadius, l.wheelCentreY);
    const Pixel32 left = image.at(l.wheelCentreX - l.wheelRadius, l.wheelCentreY);
    EXPECT_EQ(right, 0xFFFF0000u);
    EXPECT_EQ(left, 0xFF00FFFFu);
}

TEST(ContactSheet, LaysTilesOutRowByRowWithoutOverlap) {
    const SheetSpec grid{4, 100, 50, 2, 2, 10, 6};
    struct Case {
        int count, rows;
    };
    for (const Case c : {Case{12, 3}, Case{5, 2}, Case{4, 1}, Case{1, 1}}) {
        const SheetLayout l = layoutSheet(grid, c.count);
        ASSERT_EQ(static_cast<int>(l.tiles.size()), c.count);
        EXPECT_EQ(l.width, 2 * 10 + 4 * 100 + 3 * 6);
        std::vector<Rect> all{l.title};
        for (int i = 0; i < c.count; ++i) {
            all.push_back(l.tiles[i]);
            all.push_back(l.labels[i]);
            EXPECT_EQ(l.tiles[i].x, l.tiles[i % 4].x) << i;
            EXPECT_GE(l.labels[i].y, l.tiles[i].y + l.tiles[i].height) << i;
            EXPECT_GE(l.labels[i].height, 2 * lineHeight(grid)) << i;
            if (i % 4 != 0) {
                EXPECT_GT(l.tiles[i].x, l.tiles[i - 1].x) << i;
            }
            if (i >= 4) {
                EXPECT_GT(l.tiles[i].y, l.labels[i - 4].y + l.labels[i - 4].height - 1) << i;
            }
        }
        for (std::size_t a = 0; a < all.size(); ++a) {
            EXPECT_GE(all[a].x, 10);
            EXPECT_GE(all[a].y, 10);
            EXPECT_LE(all[a].x + all[a].width, l.width - 10) << a;
            EXPECT_LE(all[a].y + all[a].height, l.height - 10) << a;
            for (std::size_t b = a + 1; b < all.size(); ++b) {
                const bool apart = all[a].x + all[a].width <= all[b].x || all[b].x + all[b].width <= all[a].x ||
                                   all[a].y + all[a].height <= all[b].y || all[b].y + all[b].height <= all[a].y;
                EXPECT_TRUE(apart) << "rectangles " << a << " and " << b << " of " << c.count;
            }
        }
        const int lastBottom = l.labels.back().y + l.labels.back().height;
        EXPECT_EQ(l.height, lastBottom + 10);
        std::set<int> rowTops;
        for (const Rect& r : l.tiles) rowTops.insert(r.y);
        EXPECT_EQ(static_cast<int>(rowTops.size()), c.rows) << c.count;
    }
}

TEST(Font, GlyphsAreDrawnAsWritten) {
    // '1' and 'g' drawn by hand, row by row.
    const std::array<const char*, kGlyphHeight> one{"..#..", ".##..", "..#..", "..#..",
                                                    "..#..", "..#..", ".###.", "....."};
    const std::array<const char*, kGlyphHeight> gee{".....", ".....", ".####", "#...#",
                                                    "#...#", ".####", "....#", ".###."};
    for (const auto& [c, rows] : {std::pair{'1', one}, std::pair{'g', gee}}) {
        Image image(kGlyphWidth * 2, kGlyphHeight * 2, 0);
        drawText(image, 0, 0, std::string(1, c), 2, 0xFFFFFFFFu);
        for (int y = 0; y < kGlyphHeight * 2; ++y)
            for (int x = 0; x < kGlyphWidth * 2; ++x)
                EXPECT_EQ(image.at(x, y) != 0, rows[y / 2][x / 2] == '#') << c << " at " << x << "," << y;
    }
}

TEST(Font, EveryPrintableCharacterHasItsOwnGlyph) {
    std::set<std::array<std::uint8_t, kGlyphHeight>> seen;
    for (char c = ' '; c <= '~'; ++c) {
        const auto& g = glyph(c);
        int bits = 0;
        for (std::uint8_t row : g) {
            EXPECT_EQ(row & ~0x1Fu, 0u) << c;
            bits += static_cast<int>(std::bitset<8>(row).count());
        }
        EXPECT_EQ(bits == 0, c == ' ') << c;
        const bool descends = g[kGlyphHeight - 1] != 0;
        EXPECT_EQ(descends, std::string("gjpqy,;").find(c) != std::string::npos) << c;
        EXPECT_TRUE(seen.insert(g).second) << "glyph of '" << c << "' repeats another";
    }
    EXPECT_EQ(&glyph('\n'), &glyph('?'));
    EXPECT_EQ(&glyph('\x7f'), &glyph('?'));
}

TEST(Font, MeasuresAndClipsText) {
    EXPECT_EQ(textWidth("", 2), 0);
    EXPECT_EQ(textWidth("A", 1), 5);
    EXPECT_EQ(textWidth("AB", 2), 22);
    Image image(4, 4, 0);
    drawText(image, -3, -3, "WWW", 3, 0xFFFFFFFFu);  // mostly outside: clipped, no fault
    drawText(image, 2, 2, "H", 1, 0xFFFFFFFFu);
    EXPECT_EQ(image.at(2, 2), 0xFFFFFFFFu);  // top-left of 'H'
    EXPECT_EQ(image.at(3, 2), 0u);
}

std::vector<Pixel32> renderedByTheTransform(const DemoSetting& s, const Image& picture) {
    std::vector<Pixel32> out(picture.pixels.size());
    const SourceImage src{reinterpret_cast<const unsigned char*>(picture.pixels.data()), picture.width, picture.height,
                          picture.width * 4};
    const DestImage dst{reinterpret_cast<unsigned char*>(out.data()), picture.width * 4};
    const auto& p = s.parameters;
    const std::string name = s.filter;
    if (name == "yiq") yiq::render({p[0], p[1], p[2]}, src, dst);
    if (name == "rgb") rgb::render({p[0], p[1], p[2]}, src, dst);
    if (name == "hsv") hsv::render({p[0], p[1], p[2]}, src, dst);
    return out;
}

TEST(Demo, EveryTileIsThePictureThroughItsSetting) {
    const Image sheet = renderDemoSheet();
    const Image picture = makeTestImage();
    const std::vector<DemoSetting>& settings = demoSettings();
    const SheetLayout layout = layoutSheet(demoSheetSpec(), static_cast<int>(settings.size()));
    ASSERT_EQ(sheet.width, layout.width);
    ASSERT_EQ(sheet.height, layout.height);
    EXPECT_EQ(settings.front().filter, nullptr);
    std::set<std::string> filtersShown;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const DemoSetting& s = settings[i];
        const std::vector<Pixel32> expected = s.filter == nullptr ? picture.pixels : renderedByTheTransform(s, picture);
        if (s.filter != nullptr) filtersShown.insert(s.filter);
        const Rect& r = layout.tiles[i];
        int differences = 0;
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width) +
                                       static_cast<std::size_t>(x);
                differences += (sheet.at(r.x + x, r.y + y) & 0xFFFFFFu) != (expected[at] & 0xFFFFFFu);
            }
        }
        EXPECT_EQ(differences, 0) << demoTitle(s);
        if (s.filter != nullptr) {
            EXPECT_NE(expected, picture.pixels) << demoTitle(s);  // it shows a change
        }
    }
    EXPECT_EQ(filtersShown, (std::set<std::string>{"yiq", "rgb", "hsv"}));
}

TEST(Demo, LabelsNameTheSettingAndFitTheirTiles) {
    EXPECT_EQ(demoTitle({"yiq", {150, 300, 0}, ""}), "YIQ  Config(150, 300, 0)");
    EXPECT_EQ(demoTitle({"hsv", {-5, 0, 1}, ""}), "HSV  Config(-5, 0, 1)");
    EXPECT_EQ(demoTitle({nullptr, {0, 0, 0}, ""}), "Original");
    const SheetSpec& grid = demoSheetSpec();
    for (const DemoSetting& s : demoSettings()) {
        EXPECT_LE(textWidth(demoTitle(s), grid.textScale), grid.tileWidth) << demoTitle(s);
        EXPECT_LE(textWidth(s.caption, grid.textScale), grid.tileWidth) << s.caption;
    }
}

TEST(Demo, LabelsAreInkedUnderEveryTile) {
    const Image sheet = renderDemoSheet();
    const SheetLayout layout = layoutSheet(demoSheetSpec(), static_cast<int>(demoSettings().size()));
    const Pixel32 paper = sheet.at(0, 0);
    for (std::size_t i = 0; i < layout.labels.size(); ++i) {
        const Rect& r = layout.labels[i];
        for (int line = 0; line < 2; ++line) {
            int ink = 0;
            const int top = r.y + line * lineHeight(demoSheetSpec());
            for (int y = top; y < top + lineHeight(demoSheetSpec()); ++y)
                for (int x = r.x; x < r.x + r.width; ++x) ink += sheet.at(x, y) != paper;
            EXPECT_GT(ink, 50) << "label " << i << " line " << line;
        }
    }
}

}  // namespace
}  // namespace sorvel::cli

namespace sorvel::cli {
namespace {

// The README shows docs/demo.png: it must be the sheet the demo renders now.
TEST(Demo, TheSheetInTheDocumentationIsCurrent) {
    const PictureRead read = readPicture(std::string(SORVEL_SOURCE_DIR) + "/docs/demo.png");
    ASSERT_EQ(read.error, "");
    const Image sheet = renderDemoSheet();
    EXPECT_EQ(read.image.width, sheet.width);
    EXPECT_EQ(read.image.height, sheet.height);
    EXPECT_TRUE(read.image.pixels == sheet.pixels) << "run scripts/build and copy dist/demo.png to docs/demo.png";
}

}  // namespace
}  // namespace sorvel::cli
