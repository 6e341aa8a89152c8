// An output written under a temporary name beside its target and renamed
// over the target only when complete, so that a failed run leaves no
// partial file and an existing target untouched. A numbered sequence
// (frame%04d.png) is written as temporary files too, and each is renamed at
// the end.
#pragma once

#include <string>

namespace sorvel::cli {

class PendingOutput {
public:
    PendingOutput() = default;
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    // Removes what was written, unless committed.
    ~PendingOutput();

    // Reserves the temporary name beside target. Returns "" or the cause
    // ("No such file or directory").
    std::string reserve(const std::string& target, bool sequence);

    // The name (or numbered pattern) to write to.
    const std::string& temporary() const { return temporary_; }

    // Renames the temporary file, or the sequence's first count files, to
    // their targets. Returns "" or the cause.
    std::string commit(long count);

    // How many files of a sequence may have been written, for the clean-up.
    void setWritten(long count) { written_ = count; }

private:
    void discard();
    std::string target_, temporary_;
    bool sequence_ = false;
    bool pending_ = false;
    long written_ = 0;
};

// The name of file number in a numbered pattern (frame%04d.png), or "" when
// pattern has no number in it.
std::string numberedName(const std::string& pattern, long number);

}  // namespace sorvel::cli
