// sorvel: the three filters outside the host, on picture and video files
// and on raw video frames.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/batch/batch_run.h"
#include "cli/command/arguments.h"
#include "cli/command/help_text.h"
#include "cli/demo/demo.h"
#include "cli/files/pending_file.h"
#include "cli/grading/frame_filter.h"
#include "cli/lut/write_lut.h"
#include "cli/media/picture_io.h"
#include "cli/raw/raw_stream.h"
#include "cli/terminal/progress.h"
#include "core/kernel_choice.h"
#ifdef SORVEL_HAVE_MEDIA
#include "cli/media/transcode.h"
#else
#include "cli/windows_pictures/picture_files.h"
#endif

namespace {

using namespace sorvel::cli;

constexpr int kFailed = 1;    // a file or stream could not be read or written
constexpr int kBadUsage = 2;  // the command line makes no sense

int report(const std::string& message, int status) {
    std::fprintf(stderr, "sorvel: error: %s\n", message.c_str());
    return status;
}

void warn(const std::string& message) { std::fprintf(stderr, "sorvel: warning: %s\n", message.c_str()); }

// Refuses to write over the input: the same file under another name or
// through a link counts too.
std::string sameFileError(const Command& command) {
    if (!isSameFile(command.input, command.output)) return "";
    return "cannot write " + command.output + ": it is the input file " + command.input +
           " itself; write to another name";
}

#ifdef SORVEL_HAVE_MEDIA
TranscodeSettings transcodeSettings(const Command& command) {
    TranscodeSettings settings;
    settings.input = command.input;
    settings.output = command.output;
    settings.chain = command.chain;
    settings.threads = filterThreads(command);
    settings.encode.codec = command.codec;
    settings.encode.crf = command.crf;
    settings.encode.lossless = command.lossless;
    settings.encode.speed = command.speed;
    settings.encode.quiet = command.quiet;
    return settings;
}

int runFiles(const Command& command) {
    if (const std::string error = sameFileError(command); !error.empty()) return report(error, kFailed);
    const TranscodeOutcome outcome = transcode(transcodeSettings(command), warn);
    return outcome.error.empty() ? 0 : report(outcome.error, kFailed);
}

std::string gradeFile(const Command& single, const BatchWarn& batchWarn) {
    return transcode(transcodeSettings(single), batchWarn).error;
}
#else
// This build has no FFmpeg libraries (the Windows one): pictures through
// stb, video through --raw.
PictureFileSettings pictureFileSettings(const Command& command) {
    return {command.input, command.output, command.chain};
}

int runFiles(const Command& command) {
    if (const std::string error = sameFileError(command); !error.empty()) return report(error, kFailed);
    const PictureOutcome outcome = filterPictureFile(pictureFileSettings(command));
    for (const std::string& w : outcome.warnings) warn(w);
    return outcome.error.empty() ? 0 : report(outcome.error, outcome.badUsage ? kBadUsage : kFailed);
}

std::string gradeFile(const Command& single, const BatchWarn& batchWarn) {
    const PictureOutcome outcome = filterPictureFile(pictureFileSettings(single));
    for (const std::string& w : outcome.warnings) batchWarn(w);
    return outcome.error;
}
#endif

int runBatchOfFiles(const Command& command) {
    const BatchOutcome outcome = runBatch(command, gradeFile, warn);
    if (!outcome.error.empty()) return report(outcome.error, kFailed);
    const std::string summary = batchSummary(outcome.counts);
    if (!outcome.counts.failures.empty()) return report(summary, kFailed);
    std::printf("%s\n", summary.c_str());
    return 0;
}

int runDemo(const Command& command) {
    const std::string error = writePicture(command.output, renderDemoSheet());
    if (!error.empty()) return report("cannot write " + command.output + ": " + error, kFailed);
    std::printf("wrote the demo sheet to %s\n", command.output.c_str());
    return 0;
}

int runRaw(const Command& command) {
    prepareStandardStreams();
    ProgressLine progress(stderr, !command.quiet && stderrIsTerminal());
    FrameFilter filter(command.chain, filterThreads(command));
    const StreamOutcome outcome = processStream(filter, command.frame, stdin, stdout, progress);
    return outcome.error.empty() ? 0 : report(outcome.error, kFailed);
}

int runLut(const Command& command) {
    LutSettings settings;
    settings.path = command.lut;
    settings.chain = command.chain;
    settings.threads = filterThreads(command);
    settings.level = command.lutLevel;
    settings.size = command.lutSize;
    settings.sizeGiven = command.lutSizeGiven;
    const LutOutcome outcome = writeLut(settings);
    if (!outcome.error.empty()) return report(outcome.error, kFailed);
    std::fputs(outcome.report.c_str(), stdout);
    return 0;
}

int run(const std::vector<std::string>& args) {
    removeTemporariesOnSignals();
    const ParseOutcome parsed = parseArguments(args);
    if (!parsed.error.empty()) return report(parsed.error, kBadUsage);
    const Command& command = parsed.command;
    for (const std::string& w : command.warnings) warn(w);
    switch (command.action) {
        case Action::help: std::fputs(usageText().c_str(), stdout); return 0;
        case Action::filterHelp: std::fputs(filterHelpText(*command.helpFilter).c_str(), stdout); return 0;
        case Action::version: std::fputs(versionText().c_str(), stdout); return 0;
        case Action::demo: return runDemo(command);
        case Action::file: return runFiles(command);
        case Action::batch: return runBatchOfFiles(command);
        case Action::raw: return runRaw(command);
        case Action::lut: return runLut(command);
    }
    return kBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
    sorvel::applyKernelChoice();
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return report("out of memory", kFailed);
    } catch (const std::exception& e) {
        return report(e.what(), kFailed);
    }
}
