#include "cli/media/cut_short.h"

namespace sorvel::cli {

bool jpegLacksEnd(const std::uint8_t* data, std::size_t size) {
    std::size_t lastScan = size;
    for (std::size_t i = 0; i + 1 < size; ++i)
        if (data[i] == 0xFF && data[i + 1] == 0xDA) lastScan = i;
    if (lastScan == size) return false;  // no scan at all: for the decoder to refuse
    for (std::size_t i = lastScan + 2; i + 1 < size; ++i)
        if (data[i] == 0xFF && data[i + 1] == 0xD9) return false;
    return true;
}

bool endsBeforeDuration(std::int64_t ends, std::int64_t duration) {
    constexpr std::int64_t allowance = 1000000;
    return duration > 0 && ends >= 0 && ends + allowance < duration;
}

}  // namespace sorvel::cli
