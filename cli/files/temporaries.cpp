#include "cli/files/temporaries.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#include <process.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace sorvel::cli {
namespace {

// A signal handler may only walk memory and call unlink: the names live in
// nodes of a list that only grows. A node is free, being filled, or live;
// a freed node is reused for a later name that fits.
struct Node {
    std::atomic<Node*> next{nullptr};
    std::atomic<int> state{0};
    std::size_t capacity = 0;
    char name[1];
};
enum : int { kFree = 0, kFilling = 1, kLive = 2 };

std::atomic<Node*> head{nullptr};

constexpr int kSignals[] = {
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

Node* claim(std::size_t length) {
    for (Node* n = head.load(); n != nullptr; n = n->next.load()) {
        int expected = kFree;
        if (n->capacity > length && n->state.compare_exchange_strong(expected, kFilling)) return n;
    }
    void* memory = std::malloc(sizeof(Node) + length);
    if (memory == nullptr) throw std::bad_alloc();
    Node* n = new (memory) Node;
    n->capacity = length + 1;
    n->state.store(kFilling);
    Node* first = head.load();
    do n->next.store(first);
    while (!head.compare_exchange_weak(first, n));
    return n;
}

void removeAll() {
    for (Node* n = head.load(); n != nullptr; n = n->next.load())
        if (n->state.load() == kLive) {
#ifdef _WIN32
            _unlink(n->name);
#else
            unlink(n->name);
#endif
        }
}

extern "C" void onSignal(int signal) {
    removeAll();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void RegisteredTemporary::add(const std::string& path) {
    clear();
    Node* n = claim(path.size());
    std::memcpy(n->name, path.c_str(), path.size() + 1);
    n->state.store(kLive);
    slot_ = n;
}

void RegisteredTemporary::clear() {
    if (slot_ == nullptr) return;
    static_cast<Node*>(slot_)->state.store(kFree);
    slot_ = nullptr;
}

void removeTemporariesOnSignals() {
    // A signal ignored from the start stays ignored: nohup's SIGHUP, or
    // SIGINT of a shell's background job.
    static const bool installed = [] {
        for (int signal : kSignals)
            if (std::signal(signal, onSignal) == SIG_IGN) std::signal(signal, SIG_IGN);
        return true;
    }();
    (void)installed;
}

long thisProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

bool processMayRun(long pid) {
    if (pid <= 0) return true;
#ifdef _WIN32
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

}  // namespace sorvel::cli
