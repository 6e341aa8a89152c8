// A file written whole or not at all: the bytes go to a temporary file
// beside the target, created exclusively under a name that carries this
// process's id ("out.png.sorvel-PID-N.tmp"), and renamed over the target
// only when complete. A failed or interrupted run leaves no partial file and
// an existing target untouched. Replacing a file keeps its permissions, and
// a target that is a symbolic link is written at the file it points to. A
// temporary left by a process that no longer runs (killed with SIGKILL) is
// removed by the next run that writes the same target. Works the same on
// Linux and Windows.
#pragma once

#include <functional>
#include <string>

#include "cli/files/temporaries.h"

namespace sorvel::cli {

class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { discard(); }

    // Creates the temporary file. Returns "" or the cause.
    std::string reserve(const std::string& target);

    // The temporary file's name, and the file it will replace.
    const std::string& temporary() const { return temporary_; }
    const std::string& target() const { return target_; }

    // Renames the temporary over the target. Returns "" or the cause.
    std::string commit();

    // Removes the temporary, unless committed.
    void discard();

private:
    std::string target_, temporary_;
    bool pending_ = false;
    RegisteredTemporary registered_;
};

// The file a path names once symbolic links are followed (the path itself
// when it is no link, or on Windows).
std::string followLinks(const std::string& path);

// Whether two paths name the same existing file (through links too): the
// same device and inode, or on Windows the same volume and file index.
bool isSameFile(const std::string& a, const std::string& b);

// Removes the files of folder named "<prefix><id><rest>" whose id is of a
// process that no longer runs, where restMatches accepts rest. Errors are
// ignored: this only tidies.
void removeStaleTemporaries(const std::string& folder, const std::string& prefix,
                            const std::function<bool(const std::string&)>& restMatches);

// The folder part of a path with its slash ("dir/", or "" for none), and the rest.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// Writes bytes to path through a PendingFile. Returns "" or the cause.
std::string writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace sorvel::cli
