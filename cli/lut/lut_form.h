// Which LUT a file name asks for: its extension picks the form.
#pragma once

#include <string>

namespace sorvel::cli {

enum class LutForm { none, hald, cube };

inline LutForm lutFormOf(const std::string& path) {
    auto endsWith = [&path](const char* tail) {
        const std::string t(tail);
        return path.size() > t.size() && path.compare(path.size() - t.size(), t.size(), t) == 0;
    };
    if (endsWith(".png")) return LutForm::hald;
    if (endsWith(".cube")) return LutForm::cube;
    return LutForm::none;
}

constexpr int kDefaultHaldLevel = 16;
constexpr int kDefaultCubeSize = 65;
constexpr int kLargestCubeSize = 256;

}  // namespace sorvel::cli
