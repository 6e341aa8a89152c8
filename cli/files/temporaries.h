// The temporary files of this process that an interrupted run must not leave
// behind. Once removeTemporariesOnSignals has run, SIGINT, SIGTERM and SIGHUP
// remove every registered file and then end the process as the signal would
// have (a shell sees status 130, 143 or 129). Only SIGKILL can leave one;
// the next run writing the same output removes it (see PendingFile).
#pragma once

#include <string>

namespace sorvel::cli {

// Registers path for the time this object lives. Register a file only
// after this process has created it, so that a signal never removes a
// file of another.
class RegisteredTemporary {
public:
    RegisteredTemporary() = default;
    explicit RegisteredTemporary(const std::string& path) { add(path); }
    RegisteredTemporary(const RegisteredTemporary&) = delete;
    RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;
    ~RegisteredTemporary() { clear(); }

    void add(const std::string& path);
    void clear();  // the file was renamed or removed: forget it

private:
    void* slot_ = nullptr;
};

// Installs the signal handlers; idempotent.
void removeTemporariesOnSignals();

// Whether a process of this id may still be running (it is, or the id
// cannot be checked). Temporary names carry their writer's process id.
bool processMayRun(long pid);

long thisProcessId();

}  // namespace sorvel::cli
