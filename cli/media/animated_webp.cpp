#include "cli/media/animated_webp.h"

#include <cstring>
#include <fstream>

namespace sorvel::cli {

bool isAnimatedWebp(const std::string& path) {
    // "RIFF" size "WEBP" "VP8X" size, then the flags byte, whose bit 1 is
    // the animation flag.
    const std::string name = path.compare(0, 5, "file:") == 0 ? path.substr(5) : path;
    std::ifstream in(name, std::ios::binary);
    char head[21] = {};
    if (!in.read(head, sizeof head)) return false;
    return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBPVP8X", 8) == 0 &&
           (static_cast<unsigned char>(head[20]) & 0x02) != 0;
}

}  // namespace sorvel::cli
