// The LUT writers against the filters' own per-pixel transforms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command/arguments.h"
#include "cli/lut/cube_text.h"
#include "cli/lut/every_colour.h"
#include "cli/lut/grid_fit.h"
#include "cli/lut/hald_clut.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {
namespace {

FilterChain chainOf(std::initializer_list<std::pair<const char*, std::array<std::int32_t, 3>>> steps) {
    FilterChain chain;
    for (const auto& [name, p] : steps) chain.push_back({findFilter(name), p});
    return chain;
}

// One colour through the chain, step by step with the transforms.
Pixel32 coreOf(const FilterChain& chain, Pixel32 colour) {
    for (const FilterStep& s : chain) {
        const auto& p = s.parameters;
        switch (s.filter->kind) {
            case FilterKind::yiq: colour = yiq::transformPixel(yiq::coefficients({p[0], p[1], p[2]}), colour); break;
            case FilterKind::rgb: colour = rgb::transformPixel(rgb::coefficients({p[0], p[1], p[2]}), colour); break;
            case FilterKind::hsv: colour = hsv::transformPixel(hsv::coefficients({p[0], p[1], p[2]}), colour); break;
        }
    }
    return colour & 0xFFFFFFu;
}

TEST(LutArguments, FormsOptionsAndMisuse) {
    struct Case {
        std::vector<std::string> args;
        const char* error;  // "" when accepted
        int level, size;
    };
    const Case cases[] = {
        {{"yiq", "1,2,3", "--lut", "a.png"}, "", 16, 65},
        {{"yiq", "1,2,3", "--then", "hsv", "1,2,3", "--lut", "a.cube", "--lut-size", "33"}, "", 16, 33},
        {{"rgb", "1,2,3", "--lut-level", "8", "--lut", "a.png"}, "", 8, 65},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut-size", "256"}, "", 16, 256},
        {{"yiq", "1,2,3", "--lut", "a.jpg"}, "Hald CLUT (.png) or a .cube file, not 'a.jpg'", 0, 0},
        {{"rgb", "1,2,3", "--lut", "a.cube", "--lut-size", "17"}, "", 16, 17},
        {{"yiq", "1,2,3", "--lut", "a.Cube"}, "", 16, 65},
        {{"yiq", "1,2,3", "--lut", "a.cube.jpg"}, "not 'a.cube.jpg'", 0, 0},
        {{"yiq", "1,2,3", "--lut", ".cube"}, "not '.cube'", 0, 0},
        {{"yiq", "1,2,3", "--lut"}, "--lut needs a file name", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.png", "--raw", "4x4"}, "leave out --raw and the IN and OUT", 0, 0},
        {{"yiq", "1,2,3", "in.png", "--lut", "a.png"}, "leave out --raw and the IN and OUT", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--crf", "20"}, "not --lut", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut-size", "1"}, "--lut-size takes a whole number from 2 to 256", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut-size", "257"}, "from 2 to 256, not '257'", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.png", "--lut-level", "10"}, "--lut-level takes 8, 12 or 16", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.png", "--lut-size", "33"}, "--lut-size is for a .cube", 0, 0},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut-level", "8"}, "--lut-level is for a Hald", 0, 0},
        {{"yiq", "1,2,3", "a.png", "b.png", "--lut-size", "33"}, "go with --lut FILE", 0, 0},
    };
    for (const Case& c : cases) {
        const ParseOutcome p = parseArguments(c.args);
        const std::string line = c.args.back();
        if (*c.error == '\0') {
            ASSERT_EQ(p.error, "") << line;
            EXPECT_EQ(p.command.action, Action::lut) << line;
            EXPECT_EQ(p.command.lutLevel, c.level) << line;
            EXPECT_EQ(p.command.lutSize, c.size) << line;
            // --lut-size asks for a 3-D .cube, even of rgb steps alone.
            EXPECT_EQ(p.command.lutSizeGiven, std::find(c.args.begin(), c.args.end(), "--lut-size") != c.args.end())
                << line;
        } else {
            EXPECT_NE(p.error.find(c.error), std::string::npos) << line << ": " << p.error;
        }
    }
}

// Every entry of a 1-D table, read back as a 32-bit float as tools do, lands
// on the core's level whether the tool rounds or truncates.
TEST(LutCube, OneDimensionalEntriesAreTheCoreLevels) {
    const FilterChain chain = chainOf({{"rgb", {0, 100, 300}}, {"rgb", {300, 0, 17}}});
    std::array<std::array<int, 3>, 256> levels{};
    for (int v = 0; v < 256; ++v) {
        const Pixel32 p = coreOf(chain, packRgb(v, v, v));
        levels[static_cast<std::size_t>(v)] = {redOf(p), greenOf(p), blueOf(p)};
    }
    std::istringstream text(cube1dText(chainTitle(chain), levels));
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "TITLE \"sorvel rgb 0,100,300 --then rgb 300,0,17\"");
    std::getline(text, line);
    EXPECT_EQ(line, "LUT_1D_SIZE 256");
    int entry = 0, changed = 0;
    while (std::getline(text, line)) {
        if (line.rfind("DOMAIN_", 0) == 0) continue;
        std::istringstream values(line);
        const Pixel32 want = coreOf(chain, packRgb(entry, entry, entry));
        const int wanted[3] = {redOf(want), greenOf(want), blueOf(want)};
        for (const int w : wanted) {
            float f = -1;
            values >> f;
            EXPECT_EQ(std::lround(f * 255.0f), w) << "entry " << entry;
            EXPECT_EQ(static_cast<int>(f * 255.0f), w) << "entry " << entry;
            changed += w != entry;
        }
        ++entry;
    }
    EXPECT_EQ(entry, 256);
    EXPECT_GT(changed, 300);
}

// Grid points that stand for an 8-bit colour (each axis's 255 k / (N - 1) a
// whole level) hold the core's output for it, since tools look them up
// without interpolating: the 8 corners at any size, and at sizes where N - 1
// divides 255 every point. The fit moves the other points, bringing the
// interpolated result closer to the filter than the sampled grid does.
TEST(LutCube, FittedGridKeepsExactPointsAndBeatsSampledGrid) {
    struct Case {
        FilterChain chain;
        int size;
        int exactPoints;  // grid points on whole levels
        double gain;      // the fitted mean error at most this share of the sampled one; 0: nothing to fit
    };
    const FilterChain docs = chainOf({{"yiq", {150, 300, 300}}, {"hsv", {150, 300, 300}}});
    const Case cases[] = {
        {docs, 17, 8, 0.95},
        {docs, 33, 8, 0.8},
        {docs, 65, 8, 0.6},
        {docs, 35, 18 * 18 * 18, 0.9},  // every other point: 34 = 2 x 17
        {docs, 18, 18 * 18 * 18, 0},
        {docs, 52, 52 * 52 * 52, 0},
        {chainOf({{"hsv", {300, 300, 300}}}), 33, 8, 0.8},
        // Steep everywhere: a fit gains little, but must not lose.
        {chainOf({{"yiq", {100, 200, 0}}, {"hsv", {150, 300, 300}}}), 33, 8, 1.0},
    };
    for (const Case& c : cases) {
        const std::string name = chainTitle(c.chain) + " size " + std::to_string(c.size);
        const Image exact = exactColours(c.chain, 2);
        ASSERT_EQ(exactAt(exact, 12, 200, 99), coreOf(c.chain, packRgb(12, 200, 99)) | 0xFF000000u);
        const LutGrid fitted = fitGrid(exact, c.size);
        int exactPoints = 0;
        for (int b = 0; b < c.size; ++b)
            for (int g = 0; g < c.size; ++g)
                for (int r = 0; r < c.size; ++r) {
                    const int level[3] = {r * 255 / (c.size - 1), g * 255 / (c.size - 1), b * 255 / (c.size - 1)};
                    if (level[0] * (c.size - 1) != r * 255 || level[1] * (c.size - 1) != g * 255 ||
                        level[2] * (c.size - 1) != b * 255)
                        continue;
                    ++exactPoints;
                    const Pixel32 want = coreOf(c.chain, packRgb(level[0], level[1], level[2]));
                    const std::size_t at = 3 * (static_cast<std::size_t>(r) +
                                                static_cast<std::size_t>(c.size) *
                                                    (static_cast<std::size_t>(g) +
                                                     static_cast<std::size_t>(c.size) * static_cast<std::size_t>(b)));
                    ASSERT_EQ(fitted[at], redOf(want))
                        << name << " at " << level[0] << "," << level[1] << "," << level[2];
                    ASSERT_EQ(fitted[at + 1], greenOf(want))
                        << name << " at " << level[0] << "," << level[1] << "," << level[2];
                    ASSERT_EQ(fitted[at + 2], blueOf(want))
                        << name << " at " << level[0] << "," << level[1] << "," << level[2];
                }
        EXPECT_EQ(exactPoints, c.exactPoints) << name;
        if (c.gain == 0) continue;
        const LutError sampled = measureGrid(asWritten(sampleGrid(exact, c.size)), c.size, exact, 2);
        const LutError fit = measureGrid(asWritten(fitted), c.size, exact, 2);
        EXPECT_LT(fit.mean, c.gain * sampled.mean) << name;
        EXPECT_GT(fit.exactShare, sampled.exactShare) << name;
    }
    const Image exact = exactColours(docs, 2);
    const LutError full = measureGrid(asWritten(sampleGrid(exact, 256)), 256, exact, 2);
    EXPECT_EQ(full.max, 0);
    EXPECT_EQ(full.exactShare, 1.0);
}

// Hald CLUTs: red fastest, then green, then blue; level 16 is every colour.
TEST(LutHald, LayoutAndLevels) {
    const FilterChain chain = chainOf({{"yiq", {150, 300, 300}}, {"hsv", {150, 300, 300}}});
    const Image exact = exactColours(chain, 2);
    struct Case {
        int level, side;
    };
    for (const Case c : {Case{8, 512}, Case{12, 1728}, Case{16, 4096}}) {
        const Image hald = haldClut(exact, c.level);
        ASSERT_EQ(hald.width, c.side);
        ASSERT_EQ(hald.height, c.side);
        const int steps = c.level * c.level;
        for (int i = 0; i < 2000; ++i) {
            const int r = (i * 7) % steps, g = (i * 13 + 5) % steps, b = (i * 29 + 3) % steps;
            const auto n = static_cast<std::size_t>(steps);
            const std::size_t at = static_cast<std::size_t>(r) +
                                   n * (static_cast<std::size_t>(g) + n * static_cast<std::size_t>(b));
            auto level = [steps](int k) { return (k * 255 * 2 + (steps - 1)) / (2 * (steps - 1)); };
            EXPECT_EQ(hald.pixels[at] & 0xFFFFFFu, coreOf(chain, packRgb(level(r), level(g), level(b))))
                << "level " << c.level << " step " << r << "," << g << "," << b;
        }
    }
}

}  // namespace
}  // namespace sorvel::cli
