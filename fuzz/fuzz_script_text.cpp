// The script text with every buffer length: nothing is written past the
// length (the buffer is allocated with exactly that many bytes), a positive
// length always gets a terminated prefix of the full text, and a length of 0
// or less writes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "frame/portable/script_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sorvel::fuzz::Input in(data, size);
    const int length = static_cast<int>(in.take<std::int8_t>());
    const std::int32_t a = in.take<std::int32_t>(), b = in.take<std::int32_t>(), c = in.take<std::int32_t>();

    char expected[96];
    const int full = std::snprintf(expected, sizeof expected, "Config(%d, %d, %d)", a, b, c);

    const std::size_t bytes = length > 0 ? static_cast<std::size_t>(length) : 0;
    std::unique_ptr<char[]> buf(new char[bytes + 1]);  // one guard byte past the length
    std::memset(buf.get(), '#', bytes + 1);
    if (sorvel::formatConfigScript(buf.get(), length, a, b, c) != full) std::abort();
    if (buf[bytes] != '#') std::abort();
    if (length <= 0) return 0;
    const std::size_t kept = std::strlen(buf.get());
    if (kept != (full < length ? static_cast<std::size_t>(full) : bytes - 1)) std::abort();
    if (std::memcmp(buf.get(), expected, kept) != 0) std::abort();
    return 0;
}
