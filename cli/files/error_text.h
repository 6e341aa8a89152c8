// The system's words for an errno value ("No such file or directory"), the
// same on Linux and in mingw's runtime.
#pragma once

#include <string>
#include <system_error>

namespace sorvel::cli {

inline std::string errorText(int errnum) { return std::error_code(errnum, std::generic_category()).message(); }

}  // namespace sorvel::cli
