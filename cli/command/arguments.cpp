#include "cli/command/arguments.h"

#include <charconv>
#include <cstddef>
#include <utility>

#include "cli/command/parameters.h"
#include "cli/command/quoted.h"
#include "cli/grading/frame_filter.h"
#include "cli/lut/lut_form.h"

namespace sorvel::cli {
namespace {

bool parseWhole(const std::string& text, int& side) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, side);
    return !text.empty() && ec == std::errc() && ptr == end;
}

// A whole number from low to high for the option named.
std::string parseNumber(const std::string& option, const std::string& text, int low, int high, int& value) {
    if (!parseWhole(text, value) || value < low || value > high)
        return option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
               quoted(text);
    return "";
}

bool isHelpFlag(const std::string& a) { return a == "--help" || a == "-h"; }

// Reads FILTER a,b,c at args[i] and args[i + 1] into the chain.
std::string parseStep(const std::vector<std::string>& args, std::size_t i, Command& command) {
    const FilterInfo* filter = findFilter(args[i]);
    if (filter == nullptr) return "unknown filter " + quoted(args[i]) + " (the filters are yiq, rgb and hsv)";
    if (i + 1 >= args.size() || (args[i + 1].size() > 1 && args[i + 1].compare(0, 2, "--") == 0))
        return std::string("filter ") + filter->name + " needs its three parameters a,b,c";
    const ParsedParameters parsed = parseParameters(args[i + 1]);
    if (!parsed.error.empty()) return parsed.error;
    const FilterStep step{filter, parsed.values};
    for (std::string& w : rangeWarnings(step)) command.warnings.push_back(std::move(w));
    command.chain.push_back(step);
    return "";
}

ParseOutcome fail(std::string message) { return {Command{}, std::move(message)}; }

ParseOutcome parseHelp(const std::vector<std::string>& args) {
    Command command;
    if (args.size() == 1) return {command, ""};
    command.helpFilter = findFilter(args[1]);
    if (command.helpFilter == nullptr || args.size() > 2) return fail("help takes one filter name: yiq, rgb or hsv");
    command.action = Action::filterHelp;
    return {command, ""};
}

ParseOutcome parseDemo(const std::vector<std::string>& args) {
    Command command;
    command.action = Action::demo;
    command.output = defaultDemoPath();
    if (args.size() > 2) return fail("demo takes at most one argument, the output PNG file");
    if (args.size() == 2) {
        if (args[1].empty() || args[1][0] == '-') return fail("demo takes only an output PNG file");
        command.output = args[1];
    }
    return {command, ""};
}

}  // namespace

std::string parseFrameSize(const std::string& text, FrameSize& size) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos || !parseWhole(text.substr(0, x), size.width) ||
        !parseWhole(text.substr(x + 1), size.height))
        return "frame size " + quoted(text) + " is not WIDTHxHEIGHT, for example 1920x1080";
    if (size.width < 1 || size.height < 1 || size.width > kMaxSide || size.height > kMaxSide)
        return "frame size " + text + ": width and height must be 1 to " + std::to_string(kMaxSide);
    return "";
}

ParseOutcome parseArguments(const std::vector<std::string>& args) {
    if (args.empty() || isHelpFlag(args[0])) return {Command{}, ""};
    if (args[0] == "help") return parseHelp(args);
    if (args[0] == "--version") {
        Command command;
        command.action = Action::version;
        return {command, ""};
    }
    if (args[0] == "demo") return parseDemo(args);
    if (args[0].size() > 1 && args[0][0] == '-') return fail("unknown option " + quoted(args[0]));

    Command command;
    if (args.size() == 2 && isHelpFlag(args[1]) && findFilter(args[0]) != nullptr) return parseHelp({"help", args[0]});
    std::string error = parseStep(args, 0, command);
    if (!error.empty()) return fail(error);
    std::vector<std::string> files;
    bool raw = false;
    bool lutLevelGiven = false, speedGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (isHelpFlag(a)) {
            Command help;
            help.action = Action::filterHelp;
            help.helpFilter = command.chain.front().filter;
            return {help, ""};
        }
        if (a == "--then") {
            if (i + 1 >= args.size()) return fail("--then needs a filter and its parameters");
            error = parseStep(args, i + 1, command);
            if (!error.empty()) return fail(error);
            i += 2;
        } else if (a == "--raw") {
            if (i + 1 >= args.size()) return fail("--raw needs the frame size WIDTHxHEIGHT");
            error = parseFrameSize(args[++i], command.frame);
            if (!error.empty()) return fail(error);
            raw = true;
        } else if (a == "--quiet" || a == "-q") {
            command.quiet = true;
        } else if (a == "--lossless") {
            command.lossless = true;
        } else if (a == "--lut") {
            if (i + 1 >= args.size()) return fail("--lut needs a file name ending in .png or .cube");
            if (!command.lut.empty()) return fail("--lut writes one file; give it once");
            command.lut = args[++i];
            if (lutFormOf(command.lut) == LutForm::none)
                return fail("--lut writes a Hald CLUT (.png) or a .cube file, not " + quoted(command.lut));
        } else if (a == "--lut-level" || a == "--lut-size") {
            if (i + 1 >= args.size()) return fail(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--lut-size") {
                error = parseNumber(a, value, 2, kLargestCubeSize, command.lutSize);
                command.lutSizeGiven = true;
            } else if (value == "8" || value == "12" || value == "16") {
                command.lutLevel = std::stoi(value);
                lutLevelGiven = true;
            } else {
                error = "--lut-level takes 8, 12 or 16, not " + quoted(value);
            }
            if (!error.empty()) return fail(error);
        } else if (a == "--overwrite") {
            command.overwrite = true;
        } else if (a == "-o" || a == "--out-dir" || a == "--format") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return fail(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--format") {
                command.format = value[0] == '.' ? value.substr(1) : value;
                if (command.format.empty() || command.format.find_first_of("/\\.") != std::string::npos)
                    return fail("--format takes an extension such as jpg or png, not " + quoted(value));
            } else {
                command.outDir = value;
            }
        } else if (a == "--speed") {
            if (i + 1 >= args.size()) return fail("--speed needs fast, medium or slow");
            const std::string& value = args[++i];
            if (value == "fast")
                command.speed = Speed::fast;
            else if (value == "medium")
                command.speed = Speed::medium;
            else if (value == "slow")
                command.speed = Speed::slow;
            else
                return fail("--speed takes fast, medium or slow, not " + quoted(value));
            speedGiven = true;
        } else if (a == "--threads" || a == "--crf" || a == "--codec") {
            if (i + 1 >= args.size()) return fail(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--threads") error = parseNumber(a, value, 1, kMaxThreads, command.threads);
            if (a == "--crf") error = parseNumber(a, value, 0, 63, command.crf);
            if (a == "--codec") command.codec = value;
            if (a == "--codec" && value.empty()) error = "--codec needs an encoder's name";
            if (!error.empty()) return fail(error);
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("unknown option " + quoted(a));
        } else {
            files.push_back(a);
        }
    }
    const bool encoding = !command.codec.empty() || command.crf >= 0 || command.lossless || speedGiven;
    if (command.lossless && (!command.codec.empty() || command.crf >= 0))
        return fail("--lossless chooses the codec itself; leave out --codec and --crf");
    const bool batch = !command.outDir.empty();
    if (!batch && (!command.format.empty() || command.overwrite))
        return fail("--format and --overwrite go with --out-dir DIR");
    if (batch && (raw || !command.lut.empty())) return fail("--out-dir is for files, not --raw frames or --lut");
    if (!command.lut.empty()) {
        if (raw || !files.empty())
            return fail("--lut writes only the LUT file; leave out --raw and the IN and OUT files");
        if (encoding) return fail("--codec, --crf, --lossless and --speed are for files, not --lut");
        const LutForm form = lutFormOf(command.lut);
        if (lutLevelGiven && form != LutForm::hald) return fail("--lut-level is for a Hald CLUT (.png)");
        if (command.lutSizeGiven && form != LutForm::cube) return fail("--lut-size is for a .cube file");
        command.action = Action::lut;
        return {command, ""};
    }
    if (lutLevelGiven || command.lutSizeGiven) return fail("--lut-level and --lut-size go with --lut FILE");
    if (raw) {
        if (!files.empty())
            return fail("--raw reads standard input and writes standard output; unexpected " + quoted(files.front()));
        if (encoding) return fail("--codec, --crf, --lossless and --speed are for files, not --raw frames");
        command.action = Action::raw;
        return {command, ""};
    }
    if (batch) {
        if (files.empty()) return fail("--out-dir needs the input files before or after it");
        command.action = Action::batch;
        command.inputs = std::move(files);
        return {command, ""};
    }
    if (files.size() != 2)
        return fail("expected an input and an output file (or --raw WIDTHxHEIGHT), got " +
                    std::to_string(files.size()) + " file names");
    command.action = Action::file;
    command.input = files[0];
    command.output = files[1];
    return {command, ""};
}

int filterThreads(const Command& command) { return command.threads > 0 ? command.threads : defaultThreadCount(); }

}  // namespace sorvel::cli
