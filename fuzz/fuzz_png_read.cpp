// The command-line program's PNG reader on arbitrary bytes: it either gives
// an image of the size the header declared, with every row filled, or a
// one-line error, and never touches memory outside what it owns.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cli/png_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;
    const sorvel::cli::PngRead read = sorvel::cli::readPng(file);
    std::fclose(file);
    if (read.error.empty()) {
        const auto& image = read.image;
        if (image.width <= 0 || image.height <= 0) std::abort();
        if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) std::abort();
    } else if (read.error.find('\n') != std::string::npos) {
        std::abort();
    }
    return 0;
}
