// User input inside a one-line message: in single quotes, with control
// characters written as escapes and long text shortened, so that whatever
// was typed cannot break the line or flood the terminal.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace sorvel::cli {

inline std::string quoted(std::string_view text) {
    constexpr std::size_t kLongest = 80;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > kLongest) out += "...";
    return out + "'";
}

}  // namespace sorvel::cli
