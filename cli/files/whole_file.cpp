#include "cli/files/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace sorvel::cli {
namespace {

std::string describe(int errnum) { return std::error_code(errnum, std::generic_category()).message(); }

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// Renames from over to, replacing an existing file (which std::rename does
// not do on Windows).
std::string replace(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return "";
    return GetLastError() == ERROR_ACCESS_DENIED ? describe(EACCES) : "the file cannot be renamed into place";
#else
    return std::rename(from.c_str(), to.c_str()) == 0 ? "" : describe(errno);
#endif
}

}  // namespace

std::string writeWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".sorvel-" + std::to_string(processId()) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return describe(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    if (std::fclose(file) != 0 || !written) {
        std::remove(temporary.c_str());
        return describe(written ? errno : writeErrno);
    }
    std::string error = replace(temporary, path);
    if (!error.empty()) std::remove(temporary.c_str());
    return error;
}

}  // namespace sorvel::cli
