// A file written whole or not at all: the bytes go to a temporary file
// beside the target, which is renamed over the target only when complete, so
// that a failed run leaves no partial file and an existing target untouched.
// Works the same on Linux and Windows.
#pragma once

#include <string>

namespace sorvel::cli {

// Returns "" or the cause ("No such file or directory").
std::string writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace sorvel::cli
