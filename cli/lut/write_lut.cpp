#include "cli/lut/write_lut.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cli/files/pending_file.h"
#include "cli/grading/frame_filter.h"
#include "cli/lut/cube_text.h"
#include "cli/lut/every_colour.h"
#include "cli/lut/grid_fit.h"
#include "cli/lut/hald_clut.h"
#include "cli/lut/lut_form.h"
#include "cli/lut/photo_pixels.h"
#include "cli/media/picture_io.h"

namespace sorvel::cli {
namespace {

std::string errorLine(const char* over, const LutError& e, const char* what) {
    char line[200];
    std::snprintf(line, sizeof line, "%smean error %.3f levels, max error %d levels, exact %.2f %% of %s\n", over,
                  e.mean, e.max, 100.0 * e.exactShare, what);
    return line;
}

struct ChosenGrid {
    LutGrid grid;
    LutGrid written;  // the grid as the file holds it, for measuring
    LutError error;
};

// The fitted grid if it errs less over all colours than the sampled one,
// whose every point holds the exact output of its nearest 8-bit colour.
ChosenGrid chooseGrid(const Image& exact, int size, int threads) {
    auto measured = [&](LutGrid grid) {
        ChosenGrid c{std::move(grid), {}, {}};
        c.written = asWritten(c.grid);
        c.error = measureGrid(c.written, size, exact, threads);
        return c;
    };
    ChosenGrid sampled = measured(sampleGrid(exact, size));
    if (!fitMovesPoints(size)) return sampled;
    ChosenGrid fitted = measured(fitGrid(exact, size));
    return fitted.error.mean < sampled.error.mean ? fitted : sampled;
}

std::array<std::array<int, 3>, 256> channelLevels(const FilterChain& chain) {
    std::array<Pixel32, 256> grey{}, out{};
    for (int v = 0; v < 256; ++v) grey[static_cast<std::size_t>(v)] = opaque(v, v, v);
    applyChain(chain, grey.data(), out.data(), 256, 1);
    std::array<std::array<int, 3>, 256> levels{};
    for (std::size_t v = 0; v < 256; ++v) levels[v] = {redOf(out[v]), greenOf(out[v]), blueOf(out[v])};
    return levels;
}

// The 1-D table looked up channel by channel against the exact output.
LutError measureTable(const std::array<std::array<int, 3>, 256>& levels, const Image& exact) {
    long long total = 0, exactColours = 0;
    int max = 0;
    for (int b = 0; b < 256; ++b)
        for (int g = 0; g < 256; ++g)
            for (int r = 0; r < 256; ++r) {
                const Pixel32 want = exactAt(exact, r, g, b);
                const int e[3] = {std::abs(levels[static_cast<std::size_t>(r)][0] - redOf(want)),
                                  std::abs(levels[static_cast<std::size_t>(g)][1] - greenOf(want)),
                                  std::abs(levels[static_cast<std::size_t>(b)][2] - blueOf(want))};
                total += e[0] + e[1] + e[2];
                for (const int x : e) max = x > max ? x : max;
                if (e[0] + e[1] + e[2] == 0) ++exactColours;
            }
    return {static_cast<double>(total) / (3 * 16777216.0), max, static_cast<double>(exactColours) / 16777216.0};
}

}  // namespace

bool perChannel(const FilterChain& chain) {
    for (const FilterStep& step : chain)
        if (step.filter->kind != FilterKind::rgb) return false;
    return !chain.empty();
}

LutOutcome writeLut(const LutSettings& settings) {
    const int threads = settings.threads;
    const Image exact = exactColours(settings.chain, threads);
    const std::string& path = settings.path;
    if (lutFormOf(path) == LutForm::hald) {
        const Image hald = haldClut(exact, settings.level);
        const std::string error = writePicture(path, hald);
        if (!error.empty()) return {"cannot write " + path + ": " + error, ""};
        return {"", "wrote a level-" + std::to_string(settings.level) + " Hald CLUT (" + std::to_string(hald.width) +
                        " x " + std::to_string(hald.height) + ") to " + path + "\n"};
    }
    const std::string title = chainTitle(settings.chain);
    std::string text, report;
    if (perChannel(settings.chain) && !settings.sizeGiven) {
        const auto levels = channelLevels(settings.chain);
        text = cube1dText(title, levels);
        report = "wrote a 1-D LUT of 256 entries to " + path + "\n" +
                 errorLine("", measureTable(levels, exact), "colours");
    } else {
        const int size = settings.size;
        const ChosenGrid chosen = chooseGrid(exact, size, threads);
        text = cube3dText(title, chosen.grid, size);
        report = "wrote a 3-D LUT of size " + std::to_string(size) + " to " + path + "\n" +
                 errorLine("", chosen.error, "colours") +
                 errorLine("on photos: ", measureColours(chosen.written, size, exact, kPhotoPixels, kPhotoPixelCount),
                           "pixels");
    }
    const std::string error = writeWholeFile(path, text);
    if (!error.empty()) return {"cannot write " + path + ": " + error, ""};
    return {"", report};
}

}  // namespace sorvel::cli
