// sorvel: the three filters outside the host, on PNG pictures and on raw
// video frames between two ffmpeg processes.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/demo.h"
#include "cli/help_text.h"
#include "cli/progress.h"
#include "cli/raw_stream.h"
#ifdef SORVEL_HAVE_PNG
#include "cli/png_io.h"
#endif

namespace {

using namespace sorvel::cli;

constexpr int kFailed = 1;    // a file or stream could not be read or written
constexpr int kBadUsage = 2;  // the command line makes no sense

int report(const std::string& message, int status) {
    std::fprintf(stderr, "sorvel: error: %s\n", message.c_str());
    return status;
}

#ifdef SORVEL_HAVE_PNG
int runPng(const Command& command) {
    PngRead read = readPng(command.input);
    if (!read.error.empty()) return report("cannot read " + command.input + ": " + read.error, kFailed);
    Image out = read.image;
    applyChain(command.chain, read.image.pixels.data(), out.pixels.data(), out.width, out.height);
    const std::string error = writePng(command.output, out);
    if (!error.empty()) return report("cannot write " + command.output + ": " + error, kFailed);
    return 0;
}

int runDemo(const Command& command) {
    const std::string error = writePng(command.output, renderDemoSheet());
    if (!error.empty()) return report("cannot write " + command.output + ": " + error, kFailed);
    std::printf("wrote the demo sheet to %s\n", command.output.c_str());
    return 0;
}
#else
// This build has no PNG library (the Windows one): raw frames only.
int runPng(const Command& /*command*/) {
    return report("this build of sorvel reads no PNG files; use --raw WIDTHxHEIGHT", kBadUsage);
}
int runDemo(const Command& /*command*/) {
    return report("this build of sorvel writes no PNG files, which the demo needs", kBadUsage);
}
#endif

int runRaw(const Command& command) {
    prepareStandardStreams();
    ProgressLine progress(stderr, !command.quiet && stderrIsTerminal());
    const StreamOutcome outcome = processStream(command.chain, command.frame, stdin, stdout, progress);
    return outcome.error.empty() ? 0 : report(outcome.error, kFailed);
}

int run(const std::vector<std::string>& args) {
    const ParseOutcome parsed = parseArguments(args);
    if (!parsed.error.empty()) return report(parsed.error, kBadUsage);
    const Command& command = parsed.command;
    for (const std::string& w : command.warnings) std::fprintf(stderr, "sorvel: warning: %s\n", w.c_str());
    switch (command.action) {
        case Action::help: std::fputs(usageText().c_str(), stdout); return 0;
        case Action::filterHelp: std::fputs(filterHelpText(*command.helpFilter).c_str(), stdout); return 0;
        case Action::version: std::fputs(versionText().c_str(), stdout); return 0;
        case Action::demo: return runDemo(command);
        case Action::png: return runPng(command);
        case Action::raw: return runRaw(command);
    }
    return kBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return report("out of memory", kFailed);
    } catch (const std::exception& e) {
        return report(e.what(), kFailed);
    }
}
