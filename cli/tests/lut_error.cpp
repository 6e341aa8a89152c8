// How far a tool's output is from the filters applied directly: reads the
// input and output streams of 32-bit BGRA frames, renders the input through
// the chain with the program's filter code, and prints the mean and largest
// difference per channel and the share of pixels with no difference.
//   lut_error IN.raw OUT.raw FILTER a,b,c [FILTER a,b,c]...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/command/parameters.h"
#include "cli/grading/filters.h"

namespace {

std::vector<sorvel::Pixel32> slurp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<sorvel::Pixel32> pixels(bytes.size() / 4);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(pixels.size() * 4),
              reinterpret_cast<char*>(pixels.data()));
    return pixels;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace sorvel::cli;
    if (argc < 5 || (argc - 3) % 2 != 0) {
        std::fprintf(stderr, "usage: lut_error IN OUT FILTER a,b,c...\n");
        return 2;
    }
    const std::vector<sorvel::Pixel32> in = slurp(argv[1]), out = slurp(argv[2]);
    if (in.empty() || in.size() != out.size()) {
        std::fprintf(stderr, "input of %zu pixels, output of %zu\n", in.size(), out.size());
        return 1;
    }
    FilterChain chain;
    for (int a = 3; a + 1 < argc; a += 2) {
        const ParsedParameters p = parseParameters(argv[a + 1]);
        if (findFilter(argv[a]) == nullptr || !p.error.empty()) {
            std::fprintf(stderr, "bad step %s %s\n", argv[a], argv[a + 1]);
            return 2;
        }
        chain.push_back({findFilter(argv[a]), p.values});
    }
    std::vector<sorvel::Pixel32> expected(in.size());
    applyChain(chain, in.data(), expected.data(), static_cast<int>(in.size()), 1);
    long long total = 0, exact = 0;
    int max = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int e = std::abs(static_cast<int>((out[i] >> shift) & 0xFF) -
                                   static_cast<int>((expected[i] >> shift) & 0xFF));
            sum += e;
            max = std::max(max, e);
        }
        total += sum;
        exact += sum == 0;
    }
    std::printf("mean error %.3f levels, max error %d levels, exact %.2f %% of colours\n",
                static_cast<double>(total) / (3.0 * static_cast<double>(in.size())), max,
                100.0 * static_cast<double>(exact) / static_cast<double>(in.size()));
    return 0;
}
