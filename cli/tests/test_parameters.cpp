#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command/arguments.h"
#include "cli/command/parameters.h"

namespace sorvel::cli {
namespace {

struct GoodParameters {
    const char* text;
    std::array<std::int32_t, 3> values;
};

TEST(Parameters, AcceptsListsAndScriptLines) {
    const GoodParameters cases[] = {
        {"150,300,0", {150, 300, 0}},
        {" 1 , 2 ,3 ", {1, 2, 3}},
        {"Config(150, 0, 0)", {150, 0, 0}},
        {"Config(-5, 400, 0)", {-5, 400, 0}},
        {"VirtualDub.video.filters.instance[0].Config(7, 8, 9);", {7, 8, 9}},
        {"  Config( 1,2 , 3 ) ; ", {1, 2, 3}},
        {"+7,-0,0", {7, 0, 0}},
        {"2147483647,-2147483648,0", {2147483647, -2147483647 - 1, 0}},
    };
    for (const auto& c : cases) {
        const ParsedParameters p = parseParameters(c.text);
        EXPECT_EQ(p.error, "") << c.text;
        EXPECT_EQ(p.values, c.values) << c.text;
    }
}

struct BadParameters {
    const char* text;
    const char* message;  // a part of the error
};

TEST(Parameters, RejectsWithAClearMessage) {
    const BadParameters cases[] = {
        {"1,2", "three parameters a,b,c, but '1,2' has 2"},
        {"1,2,3,4", "has 4"},
        {"", "has 1"},
        {"Config(1, 2)", "has 2"},
        {"1,x,3", "'x' is not a whole number"},
        {"1.5,0,0", "'1.5' is not a whole number"},
        {"1,,3", "'' is not a whole number"},
        {"0x10,0,0", "not a whole number"},
        {"+-5,0,0", "not a whole number"},
        {"- 5,0,0", "not a whole number"},
        {"2147483648,0,0", "'2147483648' lies beyond the 32-bit range"},
        {"0,0,-2147483649", "beyond the 32-bit range"},
        {"Setup(1, 2, 3)", "neither a,b,c nor Config(a, b, c)"},
        {"Config(1, 2, 3", "neither"},
        {"Config(1, 2, 3)x", "neither"},
    };
    for (const auto& c : cases) {
        const ParsedParameters p = parseParameters(c.text);
        EXPECT_NE(p.error.find(c.message), std::string::npos) << c.text << " gave: " << p.error;
    }
}

// Whatever was typed, an error stays one line of bounded length.
TEST(Parameters, ErrorsQuoteInputOnOneLine) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"1,x\ny\x1b,3", "parameter 'x\\ny\\x1B' is not"},
        {"Conf\tig(1,2,3)", "parameters 'Conf\\tig(1,2,3)' are neither"},
        {std::string("1,\x01\x7f", 4) + ",3", "parameter '\\x01\\x7F' is not"},
        {std::string(200, '7') + ",0,0",
         "'77777777777777777777777777777777777777777777777777777777777777777777777777777777...'"},
    };
    for (const auto& c : cases) {
        const std::string error = parseParameters(c.text).error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find_first_of("\n\r\t"), std::string::npos) << error;
        EXPECT_LT(error.size(), 200u) << error;
    }
}

TEST(Parameters, WarnsOfEveryValueOutsideTheDialogRange) {
    const FilterStep inside{findFilter("yiq"), {0, 300, 150}};
    EXPECT_TRUE(rangeWarnings(inside).empty());

    const std::vector<std::string> w = rangeWarnings({findFilter("rgb"), {-1, 0, 301}});
    ASSERT_EQ(w.size(), 2u);
    EXPECT_NE(w[0].find("rgb red -1 lies outside 0..300"), std::string::npos) << w[0];
    EXPECT_NE(w[1].find("rgb blue 301 lies outside 0..300"), std::string::npos) << w[1];
}

TEST(FrameSize, ParsesWidthByHeight) {
    struct Case {
        const char* text;
        int width, height;
        const char* error;  // part of the error, or nullptr
    };
    const Case cases[] = {
        {"1920x1080", 1920, 1080, nullptr},      {"1X1", 1, 1, nullptr},
        {"16384x16384", 16384, 16384, nullptr},  {"0x10", 0, 0, "width and height must be 1 to 16384"},
        {"16385x1", 0, 0, "must be 1 to 16384"}, {"-5x5", 0, 0, "must be 1 to 16384"},
        {"10", 0, 0, "is not WIDTHxHEIGHT"},     {"x10", 0, 0, "is not WIDTHxHEIGHT"},
        {"10x", 0, 0, "is not WIDTHxHEIGHT"},    {"10x10x", 0, 0, "is not WIDTHxHEIGHT"},
        {" 10x10", 0, 0, "is not WIDTHxHEIGHT"}, {"99999999999x1", 0, 0, "is not WIDTHxHEIGHT"},
    };
    for (const auto& c : cases) {
        FrameSize size;
        const std::string error = parseFrameSize(c.text, size);
        if (c.error == nullptr) {
            EXPECT_EQ(error, "") << c.text;
            EXPECT_EQ(size.width, c.width) << c.text;
            EXPECT_EQ(size.height, c.height) << c.text;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave: " << error;
        }
    }
}

}  // namespace
}  // namespace sorvel::cli
