// Checks the output of a raw-frame pipeline against the transforms applied
// directly: reads the input and output streams of 32-bit BGRA frames and
// renders every input frame through each step with the filters' own render
// functions, the alpha byte taken from the input.
//   raw_compare IN.raw OUT.raw WIDTH HEIGHT FILTER a,b,c [FILTER a,b,c]...
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/command/parameters.h"
#include "core/image_view.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace {

std::vector<unsigned char> slurp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7 || (argc - 5) % 2 != 0) {
        std::fprintf(stderr, "usage: raw_compare IN OUT WIDTH HEIGHT FILTER a,b,c...\n");
        return 2;
    }
    const std::vector<unsigned char> in = slurp(argv[1]), out = slurp(argv[2]);
    const int width = static_cast<int>(std::strtol(argv[3], nullptr, 10));
    const int height = static_cast<int>(std::strtol(argv[4], nullptr, 10));
    const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    if (frameBytes == 0 || in.empty() || in.size() % frameBytes != 0) {
        std::fprintf(stderr, "input of %zu bytes is no whole number of %dx%d frames\n", in.size(), width, height);
        return 1;
    }
    if (out.size() != in.size()) {
        std::fprintf(stderr, "output has %zu bytes, input %zu\n", out.size(), in.size());
        return 1;
    }
    std::vector<unsigned char> expected = in;
    const sorvel::DestImage dst{expected.data(), width * 4};
    for (int a = 5; a + 1 < argc; a += 2) {
        const std::string filter = argv[a];
        const sorvel::cli::ParsedParameters p = sorvel::cli::parseParameters(argv[a + 1]);
        if (!p.error.empty()) {
            std::fprintf(stderr, "%s\n", p.error.c_str());
            return 2;
        }
        const auto& v = p.values;
        for (std::size_t f = 0; f < in.size(); f += frameBytes) {
            const sorvel::SourceImage src{expected.data() + f, width, height, width * 4};
            const sorvel::DestImage frame{dst.data + f, dst.pitch};
            if (filter == "yiq")
                sorvel::yiq::render({v[0], v[1], v[2]}, src, frame);
            else if (filter == "rgb")
                sorvel::rgb::render({v[0], v[1], v[2]}, src, frame);
            else if (filter == "hsv")
                sorvel::hsv::render({v[0], v[1], v[2]}, src, frame);
            else {
                std::fprintf(stderr, "unknown filter %s\n", filter.c_str());
                return 2;
            }
        }
    }
    for (std::size_t i = 3; i < in.size(); i += 4) expected[i] = in[i];  // alpha passes through
    std::size_t changed = 0;
    for (std::size_t i = 0; i < in.size(); ++i) changed += in[i] != expected[i];
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] != expected[i]) {
            std::fprintf(stderr, "frame %zu, byte %zu: got %u, expected %u\n", i / frameBytes + 1, i % frameBytes,
                         out[i], expected[i]);
            return 1;
        }
    }
    std::printf("%zu frames of %dx%d match; %zu bytes differ from the input\n", in.size() / frameBytes, width, height,
                changed);
    if (changed == 0) {
        std::fprintf(stderr, "the filters changed nothing: the check needs telling parameters\n");
        return 1;
    }
    return 0;
}
