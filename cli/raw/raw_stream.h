// Raw video frames through the filter chain: 32-bit BGRA pixels (the host's
// pixel words, alpha in the top byte), rows top to bottom with no padding,
// frame after frame, as ffmpeg reads and writes them with
// -f rawvideo -pix_fmt bgra.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "cli/grading/filters.h"
#include "cli/grading/frame_filter.h"
#include "cli/grading/frame_size.h"
#include "cli/terminal/progress.h"

namespace sorvel::cli {

enum class ReadStatus { frame, end, truncated, failed };

struct FrameRead {
    ReadStatus status;
    std::size_t bytes;  // bytes read into the buffer
    int errnum;         // for ReadStatus::failed
};

// Reads one whole frame of size bytes. A stream that ends before the first
// byte is ReadStatus::end; one that ends later is ReadStatus::truncated.
FrameRead readFrame(std::FILE* in, void* buffer, std::size_t size);

struct StreamOutcome {
    long frames = 0;    // frames written whole
    std::string error;  // one line; empty when the stream ended cleanly
};

// Filters every frame from in to out until in ends. A stream that ends
// inside a frame, a read error or a write error stops it with an error
// that names the frame; the frames before it have been written.
StreamOutcome processStream(FrameFilter& filter, FrameSize size, std::FILE* in, std::FILE* out, ProgressLine& progress);

// Puts standard input and output into binary mode where the system knows
// text mode, and lets a closed pipe show up as a write error.
void prepareStandardStreams();

}  // namespace sorvel::cli
