#include "cli/grading/frame_filter.h"

#include <utility>

#ifdef SORVEL_FILTER_THREADS
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>
#endif

namespace sorvel::cli {

#ifdef SORVEL_FILTER_THREADS

// Threads 1 .. n-1 wait for a frame, each filters its band, and the last to
// finish wakes the caller, which has filtered band 0 meanwhile.
struct FrameFilter::Workers {
    std::mutex mutex;
    std::condition_variable started, finished;
    Frame frame{};
    unsigned long generation = 0;  // counts the frames handed out
    int busy = 0;                  // bands of the current frame still running
    bool stopping = false;
    std::vector<std::thread> threads;

    void work(const FrameFilter& owner, int band) {
        unsigned long seen = 0;
        for (;;) {
            Frame current{};
            {
                std::unique_lock<std::mutex> lock(mutex);
                started.wait(lock, [&] { return stopping || generation != seen; });
                if (stopping) return;
                seen = generation;
                current = frame;
            }
            owner.runBand(current, band);
            const std::lock_guard<std::mutex> lock(mutex);
            if (--busy == 0) finished.notify_one();
        }
    }
};

FrameFilter::FrameFilter(FilterChain chain, int threads)
    : chain_(std::move(chain)), threads_(threads < 1 ? 1 : threads) {
    if (threads_ == 1) return;
    workers_ = std::make_unique<Workers>();
    for (int band = 1; band < threads_; ++band)
        workers_->threads.emplace_back([this, band] { workers_->work(*this, band); });
}

FrameFilter::~FrameFilter() {
    if (!workers_) return;
    {
        const std::lock_guard<std::mutex> lock(workers_->mutex);
        workers_->stopping = true;
    }
    workers_->started.notify_all();
    for (std::thread& t : workers_->threads) t.join();
}

int defaultThreadCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

#else

struct FrameFilter::Workers {};

FrameFilter::FrameFilter(FilterChain chain, int /*threads*/) : chain_(std::move(chain)), threads_(1) {}
FrameFilter::~FrameFilter() = default;
int defaultThreadCount() { return 1; }

#endif

void FrameFilter::runBand(const Frame& frame, int band) const {
    // Rows [first, last) of this band; the bands differ by at most one row.
    const auto rows = static_cast<long long>(frame.height);
    const int first = static_cast<int>(rows * band / threads_);
    const int last = static_cast<int>(rows * (band + 1) / threads_);
    if (last <= first) return;
    applyChain(chain_, frame.in + first * frame.inPitch, frame.inPitch, frame.out + first * frame.outPitch,
               frame.outPitch, frame.width, last - first);
}

// NOLINTNEXTLINE(readability-non-const-parameter): the bands are written through out
void FrameFilter::run(const unsigned char* in, std::ptrdiff_t inPitch, unsigned char* out, std::ptrdiff_t outPitch,
                      int width, int height) {
    const Frame frame{in, inPitch, out, outPitch, width, height};
#ifdef SORVEL_FILTER_THREADS
    if (workers_) {
        {
            const std::lock_guard<std::mutex> lock(workers_->mutex);
            workers_->frame = frame;
            workers_->busy = threads_ - 1;
            ++workers_->generation;
        }
        workers_->started.notify_all();
        runBand(frame, 0);
        std::unique_lock<std::mutex> lock(workers_->mutex);
        workers_->finished.wait(lock, [this] { return workers_->busy == 0; });
        return;
    }
#endif
    runBand(frame, 0);
}

}  // namespace sorvel::cli
