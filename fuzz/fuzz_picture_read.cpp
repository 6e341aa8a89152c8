// The program's picture reader on arbitrary bytes, handed over in memory as
// a data: address so that the whole path runs (probing, decoding, the
// conversion to BGRA words): it either gives a picture with every pixel
// there, or a one-line error, and never touches memory outside what it owns.
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" {
#include <libavutil/base64.h>
}

#include "cli/media/picture_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    std::string address = "data:application/octet-stream;base64,";
    const std::size_t start = address.size();
    address.resize(start + AV_BASE64_SIZE(size));
    av_base64_encode(&address[start], static_cast<int>(address.size() - start), data, static_cast<int>(size));
    address.resize(address.find('\0', start));
    // 4 megapixels keep the frames inside the fuzzer's memory limit.
    const sorvel::cli::PictureRead read = sorvel::cli::readPicture(address, 4LL << 20);
    if (read.error.empty()) {
        const auto& image = read.image;
        if (image.width <= 0 || image.height <= 0) std::abort();
        if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) std::abort();
    } else if (read.error.find('\n') != std::string::npos) {
        std::abort();
    }
    return 0;
}
