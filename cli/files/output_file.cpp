#include "cli/files/output_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace sorvel::cli {
namespace {

std::string describe(int errnum) { return std::error_code(errnum, std::generic_category()).message(); }

std::string tag() { return ".sorvel-" + std::to_string(getpid()); }

}  // namespace

std::string numberedName(const std::string& pattern, long number) {
    char name[4096];
    if (av_get_frame_filename2(name, sizeof name, pattern.c_str(), static_cast<int>(number), 0) < 0) return "";
    return name;
}

std::string PendingOutput::reserve(const std::string& target, bool sequence) {
    target_ = target;
    sequence_ = sequence;
    if (sequence) {
        // The pattern's files go into the same folder under a hidden prefix;
        // whether the folder takes files shows when the first is written.
        const std::size_t slash = target.rfind('/');
        const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
        temporary_ = target.substr(0, base) + tag() + "-" + target.substr(base);
        if (access(base == 0 ? "." : target.substr(0, base).c_str(), W_OK) != 0) return describe(errno);
        pending_ = true;
        return "";
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = target + tag() + "-" + std::to_string(attempt) + ".tmp";
        const int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            pending_ = true;
            return "";
        }
        if (errno != EEXIST) return describe(errno);
    }
    return describe(EEXIST);
}

std::string PendingOutput::commit(long count) {
    if (!sequence_) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return describe(errno);
        pending_ = false;
        return "";
    }
    written_ = count;
    for (long n = 1; n <= count; ++n)
        if (std::rename(numberedName(temporary_, n).c_str(), numberedName(target_, n).c_str()) != 0)
            return describe(errno);
    pending_ = false;
    return "";
}

void PendingOutput::discard() {
    if (!sequence_) {
        unlink(temporary_.c_str());
        return;
    }
    for (long n = 1; n <= written_; ++n) unlink(numberedName(temporary_, n).c_str());
}

PendingOutput::~PendingOutput() {
    if (pending_) discard();
}

}  // namespace sorvel::cli
