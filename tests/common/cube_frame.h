// A frame that holds every one of the 16 777 216 colours once, with a
// scrambled top byte, and a hash of frames: shared by the native side that
// computes expected outputs and the Windows test host that checks the
// plug-ins against them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorvel::test {

constexpr int kCubeSide = 4096;  // 4096 x 4096 pixels

inline std::uint32_t cubePixel(std::uint32_t index) {
    const std::uint32_t top = (index * 2654435761u) >> 24;
    return (index & 0xFFFFFFu) | (top << 24);
}

inline std::vector<std::uint32_t> cubeFrame() {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kCubeSide) * kCubeSide);
    for (std::uint32_t i = 0; i < frame.size(); ++i) frame[i] = cubePixel(i);
    return frame;
}

// A smaller frame for many parameter sets: 1021 x 64 colours spread over
// the whole cube (blue, green and red each take every value), with an odd
// width so that rows end inside a vector.
constexpr int kSampleWidth = 1021;
constexpr int kSampleHeight = 64;

inline std::vector<std::uint32_t> sampleFrame() {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kSampleWidth) * kSampleHeight);
    for (std::uint32_t i = 0; i < frame.size(); ++i) frame[i] = cubePixel(i * 257u);
    return frame;
}

// Hash of rows of pixels, in row order, whatever their order in memory.
class FrameHash {
public:
    void add(const std::uint32_t* row, int width) {
        for (int x = 0; x < width; ++x) state_ = (state_ ^ row[x]) * 0x100000001B3ull;
    }
    std::uint64_t value() const { return state_; }

private:
    std::uint64_t state_ = 0xCBF29CE484222325ull;
};

}  // namespace sorvel::test
