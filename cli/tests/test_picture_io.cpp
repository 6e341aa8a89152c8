#include <gtest/gtest.h>

#include <png.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/media/picture_io.h"
#include "png_fixtures.h"

namespace sorvel::cli {
namespace {

using testing::DecodedPng;
using testing::PngSpec;

class PngFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ::testing::TempDir() + "/sorvel-png-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(std::filesystem::create_directory(dir_));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }
    std::string dir_;
};

struct ReadCase {
    const char* name;
    PngSpec shape;
    std::vector<Pixel32> pixels;  // expected words, row by row
    bool hasAlpha;
};

TEST_F(PngFiles, ReadsEveryColourTypeAsBgraWords) {
    // clang-format off
    const ReadCase cases[] = {
        {"rgb", {2, 1, 8, PNG_COLOR_TYPE_RGB, false, {{10, 20, 30, 200, 100, 50}}, {}, {}},
         {0xFF0A141Eu, 0xFFC86432u}, false},
        {"rgba", {2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, {{1, 2, 3, 0x40, 255, 0, 128, 0}}, {}, {}},
         {0x40010203u, 0x00FF0080u}, true},
        {"grey", {3, 1, 8, PNG_COLOR_TYPE_GRAY, false, {{0, 0x40, 255}}, {}, {}},
         {0xFF000000u, 0xFF404040u, 0xFFFFFFFFu}, false},
        {"grey 1-bit", {3, 1, 1, PNG_COLOR_TYPE_GRAY, false, {{0xA0}}, {}, {}},
         {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}, false},
        {"grey 4-bit", {2, 1, 4, PNG_COLOR_TYPE_GRAY, false, {{0x1F}}, {}, {}},
         {0xFF111111u, 0xFFFFFFFFu}, false},
        {"grey alpha", {1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, false, {{0x80, 0x20}}, {}, {}},
         {0x20808080u}, true},
        {"grey with transparent level",
         {2, 1, 8, PNG_COLOR_TYPE_GRAY, false, {{7, 8}}, {}, {7}},
         {0x00070707u, 0xFF080808u}, true},
        {"rgb with transparent colour",
         {2, 1, 8, PNG_COLOR_TYPE_RGB, false, {{1, 2, 3, 1, 2, 4}}, {}, {1, 2, 3}},
         {0x00010203u, 0xFF010204u}, true},
        {"palette", {3, 1, 8, PNG_COLOR_TYPE_PALETTE, false, {{2, 0, 1}}, {255, 0, 0, 0, 255, 0, 9, 8, 7}, {}},
         {0xFF090807u, 0xFFFF0000u, 0xFF00FF00u}, false},
        {"palette 2-bit with alpha",
         {3, 1, 2, PNG_COLOR_TYPE_PALETTE, false, {{0x18}}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0x10, 0x80}},
         {0x10FF0000u, 0x8000FF00u, 0xFF0000FFu}, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string file = path("in.png");
        ASSERT_TRUE(testing::writeSpecPng(file, c.shape)) << c.name;
        const PictureRead read = readPicture(file);
        ASSERT_EQ(read.error, "") << c.name;
        EXPECT_EQ(read.image.width, c.shape.width) << c.name;
        EXPECT_EQ(read.image.height, c.shape.height) << c.name;
        EXPECT_EQ(read.image.pixels, c.pixels) << c.name;
        EXPECT_EQ(read.image.hasAlpha, c.hasAlpha) << c.name;
    }
}

TEST_F(PngFiles, ReadsInterlacedPictures) {
    PngSpec shape{9, 9, 8, PNG_COLOR_TYPE_RGB, true, {}, {}, {}};
    std::vector<Pixel32> expected;
    expected.reserve(81);
    for (int y = 0; y < 9; ++y) {
        std::vector<std::uint8_t> row;
        row.reserve(27);
        for (int x = 0; x < 9; ++x) {
            const auto r = static_cast<std::uint8_t>(x * 25), g = static_cast<std::uint8_t>(y * 25),
                       b = static_cast<std::uint8_t>(x ^ y);
            row.insert(row.end(), {r, g, b});
            expected.push_back(0xFF000000u | (Pixel32{r} << 16) | (Pixel32{g} << 8) | b);
        }
        shape.rows.push_back(row);
    }
    ASSERT_TRUE(testing::writeSpecPng(path("adam7.png"), shape));
    const PictureRead read = readPicture(path("adam7.png"));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.image.pixels, expected);
}

TEST_F(PngFiles, ReducesSixteenBitPicturesToEightWithAWarning) {
    // Levels that 16 bits hold exactly (v * 257) come out as v.
    const PngSpec deep{2,     1,
                       16,    PNG_COLOR_TYPE_RGB_ALPHA,
                       false, {{0x12, 0x12, 0xAB, 0xAB, 0xFF, 0xFF, 0x80, 0x80, 0, 0, 0x01, 0x01, 0xFE, 0xFE, 0, 0}},
                       {},    {}};
    ASSERT_TRUE(testing::writeSpecPng(path("deep.png"), deep));
    const PictureRead read = readPicture(path("deep.png"));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.image.pixels, (std::vector<Pixel32>{0x8012ABFFu, 0x000001FEu}));
    EXPECT_TRUE(read.image.hasAlpha);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_NE(read.warnings[0].find("16 bits per channel"), std::string::npos) << read.warnings[0];
}

TEST_F(PngFiles, RefusesWhatItCannotRead) {
    PngSpec good{16, 16, 8, PNG_COLOR_TYPE_RGB, false, {}, {}, {}};
    for (int y = 0; y < 16; ++y) {
        std::vector<std::uint8_t> row(48);
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(y) * 13);
        good.rows.push_back(row);
    }
    ASSERT_TRUE(testing::writeSpecPng(path("good.png"), good));
    const std::vector<std::uint8_t> bytes = testing::fileBytes(path("good.png"));
    ASSERT_GT(bytes.size(), 80u);
    testing::writeBytes(path("truncated.png"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 60));
    testing::writeBytes(path("header-only.png"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8));
    std::vector<std::uint8_t> damaged = bytes;
    damaged[bytes.size() - 30] ^= 0x55;  // inside the image data: its checksum fails
    testing::writeBytes(path("damaged.png"), damaged);
    testing::writeBytes(path("text.png"), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'});
    testing::writeBytes(path("empty.png"), {});

    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"truncated.png", "cannot be decoded (png: chunk too big)"},
        {"header-only.png", "cannot be decoded"},
        {"damaged.png", ""},
        {"text.png", "cannot be decoded (png: Invalid PNG signature"},
        {"empty.png", "the file is empty"},
        {"missing.png", "No such file or directory"},
        {".", "Is a directory"},
    };
    for (const auto& c : cases) {
        const PictureRead read = readPicture(c.file[0] == '.' ? dir_ : path(c.file));
        EXPECT_NE(read.error, "") << c.file;
        EXPECT_NE(read.error.find(c.message), std::string::npos) << c.file << ": " << read.error;
        EXPECT_EQ(read.error.find('\n'), std::string::npos) << c.file;
        EXPECT_TRUE(read.image.pixels.empty()) << c.file;
    }
}

TEST_F(PngFiles, WritesRgbOrRgbaThatOtherReadersRead) {
    for (const bool alpha : {false, true}) {
        Image image(3, 2);
        image.hasAlpha = alpha;
        image.pixels = {0x00112233u, 0x80FF0000u, 0xFF00FF00u, 0x010000FFu, 0xFFFFFFFFu, 0x7F808080u};
        const std::string file = path(alpha ? "rgba.png" : "rgb.png");
        ASSERT_EQ(writePicture(file, image), "");
        const DecodedPng back = testing::decodePng(file);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.hasAlpha, alpha);
        EXPECT_EQ(back.width, 3);
        EXPECT_EQ(back.height, 2);
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            const Pixel32 expected = alpha ? image.pixels[i] : (image.pixels[i] | 0xFF000000u);
            EXPECT_EQ(back.bgra[i], expected) << (alpha ? "rgba " : "rgb ") << i;
        }
    }
}

TEST_F(PngFiles, ReplacesAnExistingFileWhole) {
    testing::writeBytes(path("out.png"), {'o', 'l', 'd'});
    Image image(1, 1, 0xFF102030u);
    ASSERT_EQ(writePicture(path("out.png"), image), "");
    const DecodedPng back = testing::decodePng(path("out.png"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bgra, std::vector<std::uint32_t>{0xFF102030u});
    EXPECT_EQ(entries(), std::vector<std::string>{"out.png"});  // no temporary file left
}

TEST_F(PngFiles, AFailedWriteLeavesNothingBehind) {
    const Image image(2, 2, 0xFF000000u);
    ASSERT_TRUE(std::filesystem::create_directory(path("taken.png")));
    struct Case {
        std::string target;
        const char* message;
    };
    const Case cases[] = {
        {path("no-such-folder/out.png"), "No such file or directory"},
        {path("taken.png"), "Is a directory"},
    };
    for (const auto& c : cases) {
        const std::string error = writePicture(c.target, image);
        EXPECT_NE(error.find(c.message), std::string::npos) << c.target << ": " << error;
        EXPECT_EQ(entries(), std::vector<std::string>{"taken.png"}) << c.target;
    }
}

}  // namespace
}  // namespace sorvel::cli
