#include "cli/files/output_file.h"

#include <cerrno>
#include <cstdio>

#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include "cli/files/error_text.h"

namespace sorvel::cli {
namespace {

constexpr const char* kHidden = ".sorvel-";

// Whether name is one that the numbered pattern gives: the text before its
// number field, digits, and the text after it.
bool fitsPattern(const std::string& pattern, const std::string& name) {
    const std::size_t field = pattern.find('%');
    const std::size_t end = pattern.find('d', field);
    if (field == std::string::npos || end == std::string::npos) return false;
    const std::string before = pattern.substr(0, field), after = pattern.substr(end + 1);
    if (name.size() <= before.size() + after.size() || name.compare(0, before.size(), before) != 0 ||
        name.compare(name.size() - after.size(), after.size(), after) != 0)
        return false;
    for (std::size_t i = before.size(); i < name.size() - after.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

}  // namespace

std::string numberedName(const std::string& pattern, long number) {
    char name[4096];
    if (av_get_frame_filename2(name, sizeof name, pattern.c_str(), static_cast<int>(number), 0) < 0) return "";
    return name;
}

std::string PendingOutput::reserve(const std::string& target, bool sequence) {
    target_ = target;
    sequence_ = sequence;
    if (!sequence) {
        std::string cause = single_.reserve(target);
        temporary_ = single_.temporary();
        return cause;
    }
    // The pattern's files go into the same folder under a hidden prefix;
    // whether the folder takes files shows when the first is written.
    const std::string folder = folderOf(target), pattern = nameOf(target);
    removeStaleTemporaries(folder, kHidden,
                           [&pattern](const std::string& rest) { return fitsPattern(pattern, rest.substr(1)); });
    temporary_ = folder + kHidden + std::to_string(thisProcessId()) + "-" + pattern;
    if (access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) return errorText(errno);
    pending_ = true;
    return "";
}

void PendingOutput::setWritten(long count) {
    while (written_ < count) {
        ++written_;
        registered_.push_back(std::make_unique<RegisteredTemporary>(numberedName(temporary_, written_)));
    }
}

std::string PendingOutput::commit(long count) {
    if (!sequence_) return single_.commit();
    setWritten(count);
    for (long n = 1; n <= count; ++n) {
        if (std::rename(numberedName(temporary_, n).c_str(), numberedName(target_, n).c_str()) != 0)
            return errorText(errno);
        registered_[static_cast<std::size_t>(n - 1)]->clear();
    }
    pending_ = false;
    return "";
}

void PendingOutput::discard() {
    for (long n = 1; n <= written_; ++n) unlink(numberedName(temporary_, n).c_str());
    registered_.clear();
}

PendingOutput::~PendingOutput() {
    if (pending_) discard();
}

}  // namespace sorvel::cli
