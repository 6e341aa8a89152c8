// An output that FFmpeg writes: one file through a PendingFile, or a
// numbered sequence (frame%04d.png) written as hidden temporary files
// (".sorvel-PID-frame0001.png") that are each renamed at the end. Either way
// a failed or interrupted run leaves no partial file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/files/pending_file.h"

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
    void setWritten(long count);

private:
    void discard();
    PendingFile single_;
    std::string target_, temporary_;
    bool sequence_ = false;
    bool pending_ = false;
    long written_ = 0;
    std::vector<std::unique_ptr<RegisteredTemporary>> registered_;
};

// The name of file number in a numbered pattern (frame%04d.png), or "" when
// pattern has no number in it.
std::string numberedName(const std::string& pattern, long number);

}  // namespace sorvel::cli
