#include "frame/portable/script_text.h"

#include <cstring>

namespace sorvel {
namespace {

// Appends the decimal form of v at out and returns the end.
char* appendDecimal(char* out, std::int32_t v) {
    std::uint32_t magnitude = static_cast<std::uint32_t>(v);
    if (v < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude;
    }
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0) *out++ = digits[--n];
    return out;
}

char* appendText(char* out, const char* text) {
    while (*text) *out++ = *text++;
    return out;
}

}  // namespace

int formatConfigScript(char* buf, int length, std::int32_t a, std::int32_t b, std::int32_t c) {
    char text[64];  // "Config(" + 3 * 11 digits and signs + 2 * ", " + ")" fits easily
    char* end = appendText(text, "Config(");
    end = appendDecimal(end, a);
    end = appendText(end, ", ");
    end = appendDecimal(end, b);
    end = appendText(end, ", ");
    end = appendDecimal(end, c);
    end = appendText(end, ")");
    const int full = static_cast<int>(end - text);

    if (length > 0) {
        const int kept = full < length ? full : length - 1;
        std::memcpy(buf, text, static_cast<std::size_t>(kept));
        buf[kept] = '\0';
    }
    return full;
}

}  // namespace sorvel
