// Checks frames that a video tool rendered through one of the frei0r
// plug-ins against the core's own output on the same input frames.
//   compare_frames FILTER A B C WIDTH HEIGHT INPUT.bgra OUTPUT.bgra
//   compare_frames --plan PLAN WIDTH HEIGHT INPUT.bgra OUTPUT.bgra
// FILTER is yiq, rgb or hsv; A B C are the slider positions the tool was
// given; the files hold raw BGRA frames of WIDTH x HEIGHT. With --plan, each
// frame has its own filter and positions: line n of PLAN ("FILTER A B C")
// holds frame n's (animated parameters, a timeline of several clips). Every
// output byte must equal the core's result with the input's alpha, and the
// filters must have changed at least one colour (a tool that passed frames
// through unfiltered would otherwise pass).
#include <cerrno>
#include <climits>
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

// Reads a whole decimal int; false for anything else.
bool parseInt(const char* text, int& value) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

std::string argb(const unsigned char* bgra) {
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", bgra[3], bgra[2], bgra[1], bgra[0]);
    return text;
}

// One frame's filter and slider positions.
struct Step {
    std::string filter;
    int params[3] = {};
};

bool parseStep(const char* filter, const char* const positions[3], Step& step) {
    step.filter = filter;
    return parseInt(positions[0], step.params[0]) && parseInt(positions[1], step.params[1]) &&
           parseInt(positions[2], step.params[2]);
}

// The plan file: one "FILTER A B C" line per frame.
bool readPlan(const char* path, std::vector<Step>& plan) {
    std::ifstream in(path);
    std::string filter;
    std::string a;
    std::string b;
    std::string c;
    while (in >> filter >> a >> b >> c) {
        const char* const positions[3] = {a.c_str(), b.c_str(), c.c_str()};
        plan.emplace_back();
        if (!parseStep(filter.c_str(), positions, plan.back())) return false;
    }
    return in.eof() && !plan.empty();
}

bool renderCore(const Step& step, const sorvel::SourceImage& src, const sorvel::DestImage& dst) {
    const int* p = step.params;
    if (step.filter == "yiq") {
        sorvel::yiq::render({p[0], p[1], p[2]}, src, dst);
    } else if (step.filter == "rgb") {
        sorvel::rgb::render({p[0], p[1], p[2]}, src, dst);
    } else if (step.filter == "hsv") {
        sorvel::hsv::render({p[0], p[1], p[2]}, src, dst);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool planned = argc == 7 && std::strcmp(argv[1], "--plan") == 0;
    if (argc != 9 && !planned) {
        std::fprintf(stderr,
                     "usage: compare_frames FILTER A B C WIDTH HEIGHT INPUT.bgra OUTPUT.bgra\n"
                     "       compare_frames --plan PLAN WIDTH HEIGHT INPUT.bgra OUTPUT.bgra\n");
        return 2;
    }
    std::vector<Step> plan(planned ? 0 : 1);
    const bool parsed = planned ? readPlan(argv[2], plan) : parseStep(argv[1], &argv[2], plan[0]);
    char** const rest = argv + (planned ? 3 : 5);
    int width = 0;
    int height = 0;
    if (!parsed || !parseInt(rest[0], width) || !parseInt(rest[1], height)) {
        std::fprintf(stderr, "positions and sizes must be integers\n");
        return 2;
    }
    const std::vector<unsigned char> input = readFile(rest[2]);
    const std::vector<unsigned char> output = readFile(rest[3]);
    const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (width <= 0 || height <= 0 || input.empty() || input.size() % frameBytes != 0) {
        std::fprintf(stderr, "input: %zu bytes, not whole %dx%d frames\n", input.size(), width, height);
        return 1;
    }
    if (output.size() != input.size()) {
        std::fprintf(stderr, "output has %zu bytes, input %zu\n", output.size(), input.size());
        return 1;
    }
    const std::size_t frames = input.size() / frameBytes;
    if (planned && plan.size() != frames) {
        std::fprintf(stderr, "the plan has %zu frames, the input %zu\n", plan.size(), frames);
        return 1;
    }

    std::vector<unsigned char> expected(input.size());
    for (std::size_t f = 0; f < frames; ++f) {
        const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(width) * 4;
        if (!renderCore(plan[planned ? f : 0], {input.data() + f * frameBytes, width, height, pitch},
                        {expected.data() + f * frameBytes, pitch})) {
            std::fprintf(stderr, "unknown filter in frame %zu\n", f);
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
                std::fprintf(stderr, "frame %zu pixel %zu: in %s, expected %s, got %s (ARGB)\n", i / frameBytes, pixel,
                             argb(&input[i]).c_str(), argb(&expected[i]).c_str(), argb(&output[i]).c_str());
            }
        }
        if (std::memcmp(&expected[i], &input[i], 3) != 0) ++changed;
    }
    const Step& first = plan[0];
    std::printf("%s %d %d %d%s: %zu frames of %dx%d, %zu pixels changed by the filter, %zu mismatches\n",
                first.filter.c_str(), first.params[0], first.params[1], first.params[2],
                planned ? " (first of the plan)" : "", frames, width, height, changed, mismatches);
    if (changed == 0) {
        std::fprintf(stderr, "the filter changes no pixel of this clip at these positions\n");
        return 1;
    }
    return mismatches == 0 ? 0 : 1;
}
