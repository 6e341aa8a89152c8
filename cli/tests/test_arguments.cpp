#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "cli/batch/batch_plan.h"
#include "cli/command/arguments.h"
#include "cli/command/help_text.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel::cli {
namespace {

using Args = std::vector<std::string>;

struct Accepted {
    Args args;
    Action action;
    std::vector<const char*> chain;  // filter names in order
    const char* input;
    const char* output;
};

TEST(Arguments, UnderstandsEveryForm) {
    // clang-format off
    const Accepted cases[] = {
        {{}, Action::help, {}, "", ""},
        {{"--help"}, Action::help, {}, "", ""},
        {{"-h"}, Action::help, {}, "", ""},
        {{"help"}, Action::help, {}, "", ""},
        {{"--version"}, Action::version, {}, "", ""},
        {{"demo"}, Action::demo, {}, "", "sorvel-demo.png"},
        {{"demo", "sheet.png"}, Action::demo, {}, "", "sheet.png"},
        {{"yiq", "1,2,3", "a.png", "b.png"}, Action::file, {"yiq"}, "a.png", "b.png"},
        {{"yiq", "1,2,3", "--then", "rgb", "4,5,6", "--then", "hsv", "7,8,9", "a.png", "b.png"},
         Action::file, {"yiq", "rgb", "hsv"}, "a.png", "b.png"},
        {{"rgb", "1,2,3", "a.png", "--then", "yiq", "Config(1, 2, 3)", "b.png"}, Action::file,
         {"rgb", "yiq"}, "a.png", "b.png"},
        {{"hsv", "-5,0,0", "--raw", "64x48"}, Action::raw, {"hsv"}, "", ""},
        {{"yiq", "1,2,3", "--then", "rgb", "0,0,0", "--raw", "2x2", "-q"}, Action::raw,
         {"yiq", "rgb"}, "", ""},
        {{"hsv", "1,2,3", "in.mp4", "--threads", "3", "--crf", "20", "--codec", "libx265", "out.mkv"},
         Action::file, {"hsv"}, "in.mp4", "out.mkv"},
        {{"hsv", "1,2,3", "--lossless", "in.mp4", "out.mkv"}, Action::file, {"hsv"}, "in.mp4", "out.mkv"},
        {{"yiq", "1,2,3", "--lut", "grade.CUBE"}, Action::lut, {"yiq"}, "", ""},
        {{"rgb", "1,2,3", "--lut", "grade.Png"}, Action::lut, {"rgb"}, "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ParseOutcome p = parseArguments(c.args);
        const std::string line = c.args.empty() ? "(none)" : c.args.front() + " ...";
        ASSERT_EQ(p.error, "") << line;
        EXPECT_EQ(p.command.action, c.action) << line;
        ASSERT_EQ(p.command.chain.size(), c.chain.size()) << line;
        for (std::size_t i = 0; i < c.chain.size(); ++i)
            EXPECT_STREQ(p.command.chain[i].filter->name, c.chain[i]) << line;
        EXPECT_EQ(p.command.input, c.input) << line;
        EXPECT_EQ(p.command.output, c.output) << line;
    }
}

TEST(Arguments, KeepsParametersFrameSizeAndQuiet) {
    const ParseOutcome p = parseArguments(
        {"yiq", "1,2,3", "--then", "rgb", "Config(4, 5, 6)", "--raw", "640x360", "--quiet"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.command.chain[0].parameters, (std::array<std::int32_t, 3>{1, 2, 3}));
    EXPECT_EQ(p.command.chain[1].parameters, (std::array<std::int32_t, 3>{4, 5, 6}));
    EXPECT_EQ(p.command.frame.width, 640);
    EXPECT_EQ(p.command.frame.height, 360);
    EXPECT_TRUE(p.command.quiet);
    const Command plain = parseArguments({"yiq", "1,2,3", "--raw", "1x1"}).command;
    EXPECT_FALSE(plain.quiet);
    EXPECT_EQ(plain.threads, 0);  // one per processor

    const Command files = parseArguments({"yiq", "1,2,3", "--threads", "2", "--crf", "0", "--codec", "libvpx-vp9",
                                          "a.mp4", "b.webm"})
                              .command;
    EXPECT_EQ(files.threads, 2);
    EXPECT_EQ(files.crf, 0);
    EXPECT_EQ(files.codec, "libvpx-vp9");
    EXPECT_FALSE(files.lossless);
    EXPECT_TRUE(parseArguments({"yiq", "1,2,3", "--lossless", "a.mp4", "b.mkv"}).command.lossless);
}

TEST(Arguments, Speed) {
    const struct {
        Args args;
        Speed speed;
    } cases[] = {
        {{"yiq", "1,2,3", "a.mp4", "b.mkv"}, Speed::medium},
        {{"yiq", "1,2,3", "--speed", "fast", "a.mp4", "b.mkv"}, Speed::fast},
        {{"yiq", "1,2,3", "a.mp4", "--speed", "medium", "b.mkv"}, Speed::medium},
        {{"yiq", "1,2,3", "a.mp4", "b.mkv", "--speed", "slow"}, Speed::slow},
        {{"yiq", "1,2,3", "--speed", "slow", "--speed", "fast", "a.mp4", "b.mkv"}, Speed::fast},
    };
    for (const auto& c : cases) {
        const ParseOutcome p = parseArguments(c.args);
        ASSERT_EQ(p.error, "") << c.args[3];
        EXPECT_EQ(p.command.speed, c.speed) << c.args[3];
    }
}

TEST(Arguments, HelpForOneFilter) {
    const Args forms[] = {{"help", "rgb"}, {"rgb", "--help"}, {"rgb", "1,2,3", "-h"}};
    for (const Args& args : forms) {
        const ParseOutcome p = parseArguments(args);
        ASSERT_EQ(p.error, "") << args[0] << " " << args[1];
        EXPECT_EQ(p.command.action, Action::filterHelp);
        EXPECT_STREQ(p.command.helpFilter->name, "rgb");
    }
}

// The text with every run of spaces and line breaks made one space.
std::string unwrapped(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n';
        if (space && (out.empty() || out.back() == ' ')) continue;
        out += space ? ' ' : c;
    }
    return out;
}

// sorvel help FILTER tells what the filter's record says: its title,
// library, summary and, per parameter in Config order, the command line's
// name, the default and the longer explanation.
TEST(Arguments, FilterHelpIsTheRecord) {
    const std::pair<const char*, const FilterRecord*> filters[] = {
        {"yiq", &yiq::kRecord}, {"rgb", &rgb::kRecord}, {"hsv", &hsv::kRecord}};
    for (const auto& [name, record] : filters) {
        const std::string text = unwrapped(filterHelpText(*findFilter(name)));
        const std::string head = std::string(name) + ": " + record->title + ", the plug-in " + record->library;
        EXPECT_EQ(text.rfind(head, 0), 0u) << text;
        EXPECT_NE(text.find(record->summary), std::string::npos) << name;
        std::size_t at = 0;
        for (const ParameterRecord& p : record->parameters) {
            std::string lower = p.name;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const std::string entry = " " + lower + ": 0 to 300, default " + std::to_string(p.defaultValue) + " " +
                                      p.explanation;
            at = text.find(entry, at);
            EXPECT_NE(at, std::string::npos) << name << ": no \"" << entry << "\" in order";
        }
    }
}

TEST(Arguments, WarnsOfParametersOutsideTheRangeOnAllSteps) {
    const ParseOutcome p = parseArguments({"yiq", "400,0,0", "--then", "hsv", "150,0,-1", "a.png", "b.png"});
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.command.warnings.size(), 2u);
    EXPECT_NE(p.command.warnings[0].find("balance 400"), std::string::npos);
    EXPECT_NE(p.command.warnings[1].find("value -1"), std::string::npos);
}

struct Rejected {
    Args args;
    const char* message;  // a part of the one-line error
};

TEST(Arguments, RejectsWithAClearMessage) {
    const Rejected cases[] = {
        {{"sepia", "1,2,3", "a.png", "b.png"}, "unknown filter 'sepia'"},
        {{"yiq"}, "filter yiq needs its three parameters"},
        {{"yiq", "--raw", "2x2"}, "filter yiq needs its three parameters"},
        {{"yiq", "1,2", "a.png", "b.png"}, "has 2"},
        {{"rgb", "1,x,3", "a.png", "b.png"}, "'x' is not a whole number"},
        {{"yiq", "1,2,3", "a.png"}, "expected an input and an output file"},
        {{"yiq", "1,2,3", "a.png", "b.png", "c.png"}, "got 3 file names"},
        {{"yiq", "1,2,3"}, "got 0 file names"},
        {{"yiq", "1,2,3", "--raw", "2x2", "a.png"}, "unexpected 'a.png'"},
        {{"yiq", "1,2,3", "--raw"}, "--raw needs the frame size"},
        {{"yiq", "1,2,3", "--raw", "2by2"}, "is not WIDTHxHEIGHT"},
        {{"yiq", "1,2,3", "--raw", "0x2"}, "must be 1 to 16384"},
        {{"yiq", "1,2,3", "--then"}, "--then needs a filter"},
        {{"yiq", "1,2,3", "--then", "rgb"}, "filter rgb needs its three parameters"},
        {{"yiq", "1,2,3", "--then", "sepia", "1,2,3", "a", "b"}, "unknown filter 'sepia'"},
        {{"yiq", "1,2,3", "--then", "hsv", "1,2", "a", "b"}, "has 2"},
        {{"yiq", "1,2,3", "--fast", "a", "b"}, "unknown option '--fast'"},
        {{"--fast"}, "unknown option '--fast'"},
        {{"help", "sepia"}, "help takes one filter name"},
        {{"help", "yiq", "rgb"}, "help takes one filter name"},
        {{"yiq", "1,2,3", "--threads", "0", "a", "b"}, "--threads takes a whole number from 1 to 256, not '0'"},
        {{"yiq", "1,2,3", "--crf", "x", "a", "b"}, "--crf takes a whole number from 0 to 63, not 'x'"},
        {{"yiq", "1,2,3", "a", "b", "--crf"}, "--crf needs a value"},
        {{"yiq", "1,2,3", "--codec", "", "a", "b"}, "--codec needs an encoder's name"},
        {{"yiq", "1,2,3", "--lossless", "--crf", "4", "a", "b"}, "--lossless chooses the codec itself"},
        {{"yiq", "1,2,3", "--raw", "2x2", "--codec", "ffv1"}, "are for files, not --raw frames"},
        {{"yiq", "1,2,3", "--speed", "quick", "a", "b"}, "--speed takes fast, medium or slow, not 'quick'"},
        {{"yiq", "1,2,3", "--speed", "Fast", "a", "b"}, "--speed takes fast, medium or slow, not 'Fast'"},
        {{"yiq", "1,2,3", "a", "b", "--speed"}, "--speed needs fast, medium or slow"},
        {{"yiq", "1,2,3", "--raw", "2x2", "--speed", "fast"}, "--speed are for files, not --raw frames"},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--speed", "slow"}, "--speed are for files, not --lut"},
        {{"demo", "a.png", "b.png"}, "demo takes at most one argument"},
        {{"demo", "--quiet"}, "demo takes only an output PNG file"},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut", "b.png"}, "--lut writes one file; give it once"},
        {{"yiq", "1,2,3", "--lut", "a.cube", "--lut", "a.cube"}, "--lut writes one file; give it once"},
        {{"yiq", "1,2,3", "-o"}, "-o needs a value"},
        {{"yiq", "1,2,3", "a", "--out-dir", ""}, "--out-dir needs a value"},
        {{"yiq", "1,2,3", "-o", "out"}, "--out-dir needs the input files"},
        {{"yiq", "1,2,3", "a", "b", "--format", "png"}, "--format and --overwrite go with --out-dir DIR"},
        {{"yiq", "1,2,3", "a", "b", "--overwrite"}, "--format and --overwrite go with --out-dir DIR"},
        {{"yiq", "1,2,3", "a", "-o", "d", "--format", "x/png"}, "--format takes an extension such as jpg"},
        {{"yiq", "1,2,3", "a", "-o", "d", "--format", "."}, "--format takes an extension such as jpg"},
        {{"yiq", "1,2,3", "--raw", "2x2", "-o", "d"}, "--out-dir is for files, not --raw frames or --lut"},
        {{"yiq", "1,2,3", "--lut", "x.cube", "-o", "d"}, "--out-dir is for files, not --raw frames or --lut"},
    };
    for (const auto& c : cases) {
        const ParseOutcome p = parseArguments(c.args);
        EXPECT_NE(p.error.find(c.message), std::string::npos) << c.args.front() << " ... gave: '" << p.error << "'";
        EXPECT_EQ(p.error.find('\n'), std::string::npos);
    }
}

struct Batch {
    Args args;
    std::vector<std::string> inputs;
    const char* outDir;
    const char* format;
    bool overwrite;
};

TEST(Arguments, UnderstandsBatches) {
    const Batch cases[] = {
        {{"yiq", "1,2,3", "a.jpg", "-o", "out"}, {"a.jpg"}, "out", "", false},
        {{"yiq", "1,2,3", "-o", "out", "a.jpg", "b.png", "c.mp4"}, {"a.jpg", "b.png", "c.mp4"}, "out", "", false},
        {{"yiq", "1,2,3", "a.jpg", "--out-dir", "o", "b.jpg", "--format", ".png", "--overwrite"},
         {"a.jpg", "b.jpg"},
         "o",
         "png",
         true},
        {{"yiq", "1,2,3", "--then", "hsv", "4,5,6", "a", "--format", "tif", "-o", "d", "--threads", "2"},
         {"a"},
         "d",
         "tif",
         false},
    };
    for (const auto& c : cases) {
        const ParseOutcome p = parseArguments(c.args);
        ASSERT_EQ(p.error, "") << c.args[2];
        EXPECT_EQ(p.command.action, Action::batch);
        EXPECT_EQ(p.command.inputs, c.inputs);
        EXPECT_EQ(p.command.outDir, c.outDir);
        EXPECT_EQ(p.command.format, c.format);
        EXPECT_EQ(p.command.overwrite, c.overwrite);
    }
}

TEST(Arguments, NamesEachBatchOutput) {
    const struct {
        const char *dir, *input, *format, *output;
    } cases[] = {
        {"out", "a.jpg", "", "out/a.jpg"},
        {"out/", "shoot/day 1/a.JPG", "png", "out/a.png"},
        {"out", "a.tar.gz", "png", "out/a.tar.png"},
        {"out", "README", "jpg", "out/README.jpg"},
        {"out", ".hidden", "jpg", "out/.hidden.jpg"},
        {"C:\\out\\", "C:\\in\\b.tif", "", "C:\\out\\b.tif"},
    };
    for (const auto& c : cases) EXPECT_EQ(batchOutputPath(c.dir, c.input, c.format), c.output) << c.input;
    for (const char* picture : {"a.jpg", "b.JPEG", "dir.x/c.png", "d.tif", "e.webp", "f.bmp"})
        EXPECT_TRUE(isPictureName(picture)) << picture;
    for (const char* video : {"a.mp4", "b.mkv", "jpg", "dir.jpg/c", "seq%04d.mov"})
        EXPECT_FALSE(isPictureName(video)) << video;
}

TEST(Arguments, SumsUpABatch) {
    const struct {
        BatchCounts counts;
        const char* summary;
    } cases[] = {
        {{1, 1, 0, {}}, "graded 1 of 1 file"},
        {{5, 3, 1, {"cannot read c.jpg: damaged"}},
         "graded 3 of 5 files; 1 skipped (already there; --overwrite replaces them); 1 failed: cannot read c.jpg: "
         "damaged"},
        {{2, 0, 0, {"cannot read a: x", "cannot read b: y"}},
         "graded 0 of 2 files; 2 failed: cannot read a: x; "
         "cannot read b: y"},
    };
    for (const auto& c : cases) EXPECT_EQ(batchSummary(c.counts), c.summary);
}

}  // namespace
}  // namespace sorvel::cli
