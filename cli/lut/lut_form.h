// Which LUT a file name asks for: its extension, in any case, picks the form.
#pragma once

#include <string>

namespace sorvel::cli {

enum class LutForm { none, hald, cube };

inline LutForm lutFormOf(const std::string& path) {
    auto endsWith = [&path](const char* tail) {
        const std::string t(tail);
        if (path.size() <= t.size()) return false;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const char c = path[path.size() - t.size() + i];
            if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != t[i]) return false;
        }
        return true;
    };
    if (endsWith(".png")) return LutForm::hald;
    if (endsWith(".cube")) return LutForm::cube;
    return LutForm::none;
}

constexpr int kDefaultHaldLevel = 16;
constexpr int kDefaultCubeSize = 65;
constexpr int kLargestCubeSize = 256;

}  // namespace sorvel::cli
