#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/grading/filters.h"
#include "cli/grading/frame_filter.h"
#include "cli/raw/raw_stream.h"
#include "cli/terminal/progress.h"
#include "core/image_view.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {
namespace {

FilterStep step(const char* name, std::int32_t a, std::int32_t b, std::int32_t c) {
    return FilterStep{findFilter(name), {a, b, c}};
}

Pixel32 applyOne(const FilterChain& chain, Pixel32 in) {
    Pixel32 out = 0;
    applyChain(chain, &in, &out, 1, 1);
    return out;
}

TEST(Chain, RendersThroughTheFilterAndKeepsTheAlphaByte) {
    struct Case {
        FilterStep step;
        Pixel32 in, out;
    };
    // Worked values of the three filters, with an alpha byte that must survive.
    const Case cases[] = {
        {step("yiq", 150, 300, 300), 0x80336699u, 0x8017FFFFu}, {step("yiq", 150, 0, 0), 0xFF336699u, 0xFF336699u},
        {step("yiq", 150, 300, 300), 0x00808080u, 0x00E8E8E8u}, {step("rgb", 300, 150, 0), 0xFF808080u, 0xFFE8AE80u},
        {step("rgb", 300, 150, 0), 0x12204060u, 0x12966A60u},   {step("hsv", 150, 300, 0), 0x40C86432u, 0x40C84606u},
        {step("hsv", 300, 0, 0), 0xFF0000FFu, 0xFFFEFF00u},     {step("hsv", 150, 0, 300), 0x01404040u, 0x01C4C4C4u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(applyOne({c.step}, c.in), c.out) << c.step.filter->name << " " << std::hex << c.in;
}

TEST(Chain, AppliesTheStepsInOrder) {
    const FilterStep first = step("yiq", 150, 300, 0), second = step("rgb", 0, 0, 300);
    const Pixel32 in = 0x7F336699u;

    // The same two steps one after the other through the transforms themselves.
    Pixel32 mid = 0, expected = 0;
    const auto bytes = [](Pixel32* p) { return reinterpret_cast<unsigned char*>(p); };
    yiq::render({150, 300, 0}, SourceImage{bytes(const_cast<Pixel32*>(&in)), 1, 1, 4}, DestImage{bytes(&mid), 4});
    rgb::render({0, 0, 300}, SourceImage{bytes(&mid), 1, 1, 4}, DestImage{bytes(&expected), 4});
    expected = (expected & 0x00FFFFFFu) | 0x7F000000u;

    EXPECT_EQ(applyOne({first, second}, in), expected);
    EXPECT_NE(applyOne({second, first}, in), expected);  // the order matters for this pixel
    EXPECT_EQ(applyOne({}, in), in);
}

TEST(Chain, RendersEveryPixelOfAFrame) {
    const int width = 3, height = 2;
    const std::vector<Pixel32> in{0x00336699u, 0xFF808080u, 0x00000000u, 0x7F000000u, 0xFFFFFFFFu, 0x01336699u};
    std::vector<Pixel32> out(in.size(), 0xDEADBEEFu);
    applyChain({step("yiq", 150, 300, 300)}, in.data(), out.data(), width, height);
    const std::vector<Pixel32> expected{0x0017FFFFu, 0xFFE8E8E8u, 0x00000000u, 0x7F000000u, 0xFFFFFFFFu, 0x0117FFFFu};
    EXPECT_EQ(out, expected);
}

TEST(FrameFilter, BandsOnAnyThreadCountGiveTheWholeFramesBytes) {
    // Frames of 1, 2, 7 and 33 rows, rows padded (their pitch larger than
    // the width), through 1 to 5 threads: more threads than rows too.
    const FilterChain chain{step("hsv", 200, 300, 100), step("yiq", 150, 300, 0)};
    for (const int height : {1, 2, 7, 33}) {
        const int width = 5, pitch = 8;
        std::vector<Pixel32> in(static_cast<std::size_t>(pitch * height));
        for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<Pixel32>(i * 2654435761u);
        std::vector<Pixel32> expected(in.size(), 0xDEADBEEFu);
        for (int y = 0; y < height; ++y) applyChain(chain, &in[y * pitch], &expected[y * pitch], width, 1);
        for (int threads = 1; threads <= 5; ++threads) {
            std::vector<Pixel32> out(in.size(), 0xDEADBEEFu);
            FrameFilter filter(chain, threads);
            for (int repeat = 0; repeat < 2; ++repeat)  // the workers take a second frame too
                filter.run(reinterpret_cast<const unsigned char*>(in.data()), pitch * 4,
                           reinterpret_cast<unsigned char*>(out.data()), pitch * 4, width, height);
            EXPECT_EQ(out, expected) << height << " rows, " << threads << " threads";
        }
    }
}

// A temporary file holding the words, less dropBytes at the end, positioned at its start.
std::FILE* fileWith(const std::vector<Pixel32>& words, std::size_t dropBytes = 0) {
    std::FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    std::fwrite(words.data(), 1, words.size() * 4 - dropBytes, f);
    std::rewind(f);
    return f;
}

std::vector<Pixel32> contents(std::FILE* f) {
    std::rewind(f);
    std::vector<Pixel32> words;
    Pixel32 w = 0;
    while (std::fread(&w, 4, 1, f) == 1) words.push_back(w);
    return words;
}

std::vector<Pixel32> frames(int count) {
    std::vector<Pixel32> words;
    words.reserve(static_cast<std::size_t>(count) * 4);
    for (int i = 0; i < count * 4; ++i) words.push_back(0x01000000u * static_cast<Pixel32>(i) + 0x336699u);
    return words;
}

TEST(RawStream, FiltersEveryFrameInOrder) {
    const std::vector<Pixel32> input = frames(3);
    std::FILE* in = fileWith(input);
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in != nullptr && out != nullptr);
    ProgressLine progress(stderr, false);
    FrameFilter filter({step("yiq", 150, 300, 300)}, 1);
    const StreamOutcome outcome = processStream(filter, FrameSize{2, 2}, in, out, progress);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.frames, 3);
    std::vector<Pixel32> expected;
    expected.reserve(input.size());
    for (Pixel32 p : input) expected.push_back((p & 0xFF000000u) | 0x17FFFFu);
    EXPECT_EQ(contents(out), expected);
    std::fclose(in);
    std::fclose(out);
}

TEST(RawStream, AnEmptyStreamIsNoError) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in != nullptr && out != nullptr);
    ProgressLine progress(stderr, false);
    FrameFilter filter({step("rgb", 0, 0, 0)}, 1);
    const StreamOutcome outcome = processStream(filter, FrameSize{4, 4}, in, out, progress);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.frames, 0);
    EXPECT_TRUE(contents(out).empty());
    std::fclose(in);
    std::fclose(out);
}

TEST(RawStream, AStreamEndingInsideAFrameNamesTheFrame) {
    // Two whole 2x2 frames, then 2 of the 4 pixel words of the third: 8 of 16 bytes.
    std::vector<Pixel32> input = frames(2);
    input.push_back(1);
    input.push_back(2);
    std::FILE* in = fileWith(input);
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in != nullptr && out != nullptr);
    ProgressLine progress(stderr, false);
    FrameFilter filter({step("rgb", 0, 0, 0)}, 1);
    const StreamOutcome outcome = processStream(filter, FrameSize{2, 2}, in, out, progress);
    EXPECT_NE(outcome.error.find("input ends inside frame 3: 8 of its 16 bytes"), std::string::npos) << outcome.error;
    EXPECT_NE(outcome.error.find("2 whole frames were written"), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.frames, 2);
    EXPECT_EQ(contents(out).size(), 8u);  // the two whole frames, nothing of the third
    std::fclose(in);
    std::fclose(out);
}

TEST(RawStream, AFailedWriteNamesTheFrame) {
    std::FILE* in = fileWith(frames(2));
    ASSERT_NE(in, nullptr);
    // A stream opened for reading only refuses every write.
    const std::string path = ::testing::TempDir() + "/sorvel-readonly.raw";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fclose(out);
    out = std::fopen(path.c_str(), "rb");
    ASSERT_NE(out, nullptr);
    ProgressLine progress(stderr, false);
    FrameFilter filter({step("rgb", 0, 0, 0)}, 1);
    const StreamOutcome outcome = processStream(filter, FrameSize{1, 1}, in, out, progress);
    EXPECT_NE(outcome.error.find("cannot write frame 1 to standard output"), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.frames, 0);
    std::fclose(in);
    std::fclose(out);
    std::remove(path.c_str());
}

TEST(Progress, CountsFramesRateAndTimeLeft) {
    struct Case {
        long frames, total;
        double seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0.0, "0 frames"},
        {1, 0, 0.0, "1 frame"},
        {1, 0, 0.5, "1 frame, 2.0 frames/s"},
        {120, 0, 2.0, "120 frames, 60.0 frames/s"},
        {5, 0, 3.0, "5 frames, 1.7 frames/s"},
        {0, 1200, 0.0, "0% 0 of 1200 frames"},
        {540, 1200, 18.0, "45% 540 of 1200 frames, 30.0 frames/s, 0:22 left"},
        {1, 90001, 1.0, "0% 1 of 90001 frames, 1.0 frames/s, 25:00:00 left"},
        {10, 10, 2.0, "100% 10 of 10 frames, 5.0 frames/s, 0:00 left"},
        {11, 10, 2.0, "11 frames, 5.5 frames/s"},  // an estimated total that was short
    };
    for (const auto& c : cases) EXPECT_EQ(progressText(c.frames, c.total, c.seconds), c.text);
    // A batch counts files.
    EXPECT_EQ(progressText(3, 12, 6.0, "file"), "25% 3 of 12 files, 0.5 files/s, 0:18 left");
    EXPECT_EQ(progressText(1, 0, 0.0, "file"), "1 file");
}

}  // namespace
}  // namespace sorvel::cli
