// Checks frames that a video tool rendered through one of the frei0r
// plug-ins against the core's own output on the same input frames.
//   compare_frames FILTER A B C WIDTH HEIGHT INPUT.bgra OUTPUT.bgra
// FILTER is yiq, rgb or hsv; A B C are the slider positions the tool was
// given; the files hold raw BGRA frames of WIDTH x HEIGHT. Every output byte
// must equal the core's result with the input's alpha, and the filter must
// have changed at least one colour (a tool that passed frames through
// unfiltered would otherwise pass).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace {

std::vector<unsigned char> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool renderCore(const std::string& filter, const int p[3], const sorvel::SourceImage& src,
                const sorvel::DestImage& dst) {
    if (filter == "yiq") {
        sorvel::yiq::render({p[0], p[1], p[2]}, src, dst);
    } else if (filter == "rgb") {
        sorvel::rgb::render({p[0], p[1], p[2]}, src, dst);
    } else if (filter == "hsv") {
        sorvel::hsv::render({p[0], p[1], p[2]}, src, dst);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 9) {
        std::fprintf(stderr, "usage: compare_frames FILTER A B C WIDTH HEIGHT INPUT.bgra OUTPUT.bgra\n");
        return 2;
    }
    const std::string filter = argv[1];
    const int params[3] = {std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])};
    const int width = std::atoi(argv[5]);
    const int height = std::atoi(argv[6]);
    const std::vector<unsigned char> input = readFile(argv[7]);
    const std::vector<unsigned char> output = readFile(argv[8]);
    const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (width <= 0 || height <= 0 || input.empty() || input.size() % frameBytes != 0) {
        std::fprintf(stderr, "input: %zu bytes, not whole %dx%d frames\n", input.size(), width, height);
        return 1;
    }
    if (output.size() != input.size()) {
        std::fprintf(stderr, "output has %zu bytes, input %zu\n", output.size(), input.size());
        return 1;
    }

    std::vector<unsigned char> expected(input.size());
    const std::size_t frames = input.size() / frameBytes;
    for (std::size_t f = 0; f < frames; ++f) {
        const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(width) * 4;
        if (!renderCore(filter, params, {input.data() + f * frameBytes, width, height, pitch},
                        {expected.data() + f * frameBytes, pitch})) {
            std::fprintf(stderr, "unknown filter %s\n", filter.c_str());
            return 2;
        }
    }
    std::size_t mismatches = 0;
    std::size_t changed = 0;
    for (std::size_t i = 0; i < input.size(); i += 4) {
        expected[i + 3] = input[i + 3];  // the plug-ins carry alpha through
        if (std::memcmp(&expected[i], &output[i], 4) != 0) {
            if (mismatches++ < 10) {
                const std::size_t pixel = (i % frameBytes) / 4;
                std::fprintf(stderr, "frame %zu pixel (%zu, %zu): in %02x%02x%02x%02x, expected %02x%02x%02x%02x, got %02x%02x%02x%02x (ARGB)\n",
                             i / frameBytes, pixel % static_cast<std::size_t>(width), pixel / static_cast<std::size_t>(width),
                             input[i + 3], input[i + 2], input[i + 1], input[i],
                             expected[i + 3], expected[i + 2], expected[i + 1], expected[i],
                             output[i + 3], output[i + 2], output[i + 1], output[i]);
            }
        }
        if (std::memcmp(&expected[i], &input[i], 3) != 0) ++changed;
    }
    std::printf("%s %d %d %d: %zu frames of %dx%d, %zu pixels changed by the filter, %zu mismatches\n",
                filter.c_str(), params[0], params[1], params[2], frames, width, height, changed, mismatches);
    if (changed == 0) {
        std::fprintf(stderr, "the filter changes no pixel of this clip at these positions\n");
        return 1;
    }
    return mismatches == 0 ? 0 : 1;
}
