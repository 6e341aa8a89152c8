// The script line a host saves for a filter's settings.
#pragma once

#include <cstdint>

namespace sorvel {

// Writes "Config(a, b, c)" into buf, never more than length bytes: a buffer
// too short for the whole text gets a terminated prefix, and a length of 0 or
// less leaves the buffer untouched. Returns the length of the full text.
int formatConfigScript(char* buf, int length, std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace sorvel
