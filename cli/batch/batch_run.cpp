#include "cli/batch/batch_run.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#ifdef SORVEL_FILTER_THREADS
#include <atomic>
#include <mutex>
#include <thread>
#endif

#include "cli/files/pending_file.h"
#include "cli/grading/frame_filter.h"
#include "cli/terminal/progress.h"

namespace sorvel::cli {
namespace {

namespace fs = std::filesystem;

#ifdef SORVEL_FILTER_THREADS
using Mutex = std::mutex;
using Lock = std::lock_guard<std::mutex>;
#else
// One thread (the Windows build's thread model has no std::mutex).
struct Mutex {};
struct Lock {
    explicit Lock(Mutex&) {}
};
#endif

struct Item {
    std::string input, output;
};

class Batch {
public:
    Batch(const Command& command, const GradeFile& grade, const BatchWarn& warn, int files)
        : command_(command), grade_(grade), warn_(warn),
          progress_(stderr, !command.quiet && stderrIsTerminal(), files, "file") {}

    void warnOnce(const std::string& text) {
        const Lock lock(mutex_);
        if (warned_.insert(text).second) warn_(text);
    }

    void fail(std::string error) {
        const Lock lock(mutex_);
        counts_.failures.push_back(std::move(error));
        progress_.frameDone();
    }

    void skip() {
        const Lock lock(mutex_);
        ++counts_.skipped;
        progress_.frameDone();
    }

    void gradeOne(const Item& item, int threads) {
        Command single = command_;
        single.action = Action::file;
        single.input = item.input;
        single.output = item.output;
        single.inputs.clear();
        single.quiet = true;
        single.threads = threads;
        const std::string error = grade_(single, [this](const std::string& text) { warnOnce(text); });
        const Lock lock(mutex_);
        if (error.empty()) {
            ++counts_.graded;
        } else {
            counts_.failures.push_back(error);
        }
        progress_.frameDone();
    }

    // Each picture on one thread, as many at once as there are workers.
    void gradeTogether(const std::vector<Item>& items, int workers) {
#ifdef SORVEL_FILTER_THREADS
        if (workers > 1 && items.size() > 1) {
            std::atomic<std::size_t> next{0};
            const auto work = [&] {
                for (std::size_t i = next++; i < items.size(); i = next++) gradeOne(items[i], 1);
            };
            std::vector<std::thread> threads;
            const std::size_t count = std::min(items.size(), static_cast<std::size_t>(workers));
            for (std::size_t t = 1; t < count; ++t) threads.emplace_back(work);
            work();
            for (std::thread& t : threads) t.join();
            return;
        }
#else
        static_cast<void>(workers);
#endif
        for (const Item& item : items) gradeOne(item, command_.threads);
    }

    BatchCounts finish() {
        progress_.finish();
        return counts_;
    }

private:
    const Command& command_;
    const GradeFile& grade_;
    const BatchWarn& warn_;
    Mutex mutex_;
    std::set<std::string> warned_;
    ProgressLine progress_;
    BatchCounts counts_;
};

}  // namespace

BatchOutcome runBatch(const Command& command, const GradeFile& grade, const BatchWarn& warn) {
    BatchOutcome outcome;
    std::error_code error;
    fs::create_directories(fs::u8path(command.outDir), error);
    if (error && !fs::is_directory(fs::u8path(command.outDir)))
        return {{}, "cannot make the folder " + command.outDir + ": " + error.message()};

    Batch batch(command, grade, warn, static_cast<int>(command.inputs.size()));
    std::vector<Item> pictures, videos;
    std::set<std::string> outputs;
    for (const std::string& input : command.inputs) {
        const std::string output = batchOutputPath(command.outDir, input, command.format);
        if (!outputs.insert(output).second) {
            batch.fail("cannot write " + output + ": another input of this batch is written there");
            continue;
        }
        if (isSameFile(input, output)) {
            batch.fail(std::string("cannot write ")
                           .append(output)
                           .append(": it is the input file ")
                           .append(input)
                           .append(" itself"));
            continue;
        }
        if (fs::exists(fs::u8path(output), error) && !command.overwrite) {
            batch.skip();
            continue;
        }
        (isPictureName(input) ? pictures : videos).push_back({input, output});
    }
    batch.gradeTogether(pictures, filterThreads(command));
    for (const Item& item : videos) batch.gradeOne(item, command.threads);
    outcome.counts = batch.finish();
    outcome.counts.total = static_cast<int>(command.inputs.size());
    return outcome;
}

}  // namespace sorvel::cli
