// The filter chain over whole frames on several threads: each frame is cut
// into horizontal bands, one per thread, and run returns when every band is
// done. The transforms work row by row with no state between rows, so the
// bands give the same bytes as one pass over the frame.
#pragma once

#include <cstddef>
#include <memory>

#include "cli/grading/filters.h"

namespace sorvel::cli {

class FrameFilter {
public:
    // threads: 1 filters on the calling thread alone. Builds without thread
    // support (the Windows program) always use 1.
    FrameFilter(FilterChain chain, int threads);
    ~FrameFilter();
    FrameFilter(const FrameFilter&) = delete;
    FrameFilter& operator=(const FrameFilter&) = delete;

    // As applyChain: in and out must not overlap; pitches in bytes.
    void run(const unsigned char* in, std::ptrdiff_t inPitch, unsigned char* out, std::ptrdiff_t outPitch, int width,
             int height);

    int threads() const { return threads_; }

private:
    struct Frame {
        const unsigned char* in;
        std::ptrdiff_t inPitch;
        unsigned char* out;
        std::ptrdiff_t outPitch;
        int width, height;
    };
    void runBand(const Frame& frame, int band) const;

    struct Workers;
    FilterChain chain_;
    int threads_;
    std::unique_ptr<Workers> workers_;
};

// The thread count when none is asked for: one per processor.
int defaultThreadCount();

}  // namespace sorvel::cli
