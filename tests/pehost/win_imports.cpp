// The copies go byte by byte through volatile pointers, so that the compiler
// never turns them into calls of the C library's own (AVX) versions, which
// would disturb the driver's check of the vector registers.
#include "pehost/win_imports.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "pehost/win_calls.h"

namespace sorvel::pe {
namespace {

extern "C" SORVEL_CRT void* copyBytes(void* dst, const void* src, std::size_t n) {
    auto* d = static_cast<volatile unsigned char*>(dst);
    const auto* s = static_cast<const volatile unsigned char*>(src);
    for (std::size_t i = 0; i < n; ++i) d[i] = s[i];
    return dst;
}

extern "C" SORVEL_CRT void* moveBytes(void* dst, const void* src, std::size_t n) {
    auto* d = static_cast<volatile unsigned char*>(dst);
    const auto* s = static_cast<const volatile unsigned char*>(src);
    if (d < s) {
        for (std::size_t i = 0; i < n; ++i) d[i] = s[i];
    } else {
        for (std::size_t i = n; i-- > 0;) d[i] = s[i];
    }
    return dst;
}

extern "C" SORVEL_CRT void* fillBytes(void* dst, int value, std::size_t n) {
    auto* d = static_cast<volatile unsigned char*>(dst);
    for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<unsigned char>(value);
    return dst;
}

extern "C" SORVEL_CRT std::size_t stringLength(const volatile char* s) {
    std::size_t n = 0;
    while (s[n] != '\0') ++n;
    return n;
}

extern "C" SORVEL_CRT int* errnoAddress() { return &errno; }

const struct {
    const char* name;
    void* address;
} kImplemented[] = {
    {"memcpy", reinterpret_cast<void*>(copyBytes)},    {"memmove", reinterpret_cast<void*>(moveBytes)},
    {"memset", reinterpret_cast<void*>(fillBytes)},    {"strlen", reinterpret_cast<void*>(stringLength)},
    {"_errno", reinterpret_cast<void*>(errnoAddress)},
};

// Names of the stubbed imports, by the number their stub passes.
std::vector<std::string>& stubbedNames() {
    static std::vector<std::string> names;
    return names;
}

void say(const std::string& text) {
    if (write(STDOUT_FILENO, text.data(), text.size()) < 0) _exit(3);
}

// Reached from a stub with its number in a register; the stack may be in
// any state, so this only writes and exits.
#if defined(__x86_64__)
[[noreturn]] void stubCalled(unsigned number) {
#else
[[noreturn]] __attribute__((regparm(1))) void stubCalled(unsigned number) {
#endif
    say("FAIL the library called " + stubbedNames()[number] + ", which the test host does not provide\n");
    _exit(1);
}

// A few bytes per stub: load its number, jump to stubCalled.
void* makeStub(unsigned number) {
    static unsigned char* page = nullptr;
    static std::size_t used = 0;
    const std::size_t pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    constexpr std::size_t kStubSize = 32;
    if (page == nullptr || used + kStubSize > pageSize) {
        void* p = mmap(nullptr, pageSize, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::runtime_error("cannot map the import stubs");
        page = static_cast<unsigned char*>(p);
        used = 0;
    }
    unsigned char* code = page + used;
    used += kStubSize;
    const auto target = reinterpret_cast<std::uintptr_t>(&stubCalled);
    std::size_t at = 0;
    auto put = [&](const void* bytes, std::size_t n) {
        std::memcpy(code + at, bytes, n);
        at += n;
    };
#if defined(__x86_64__)
    const unsigned char movEdi = 0xBF, movRax[2] = {0x48, 0xB8}, jmpRax[2] = {0xFF, 0xE0};
    put(&movEdi, 1);
#else
    const unsigned char movEax = 0xB8, movRax[1] = {0xB9}, jmpRax[2] = {0xFF, 0xE1};  // mov ecx; jmp ecx
    put(&movEax, 1);
#endif
    put(&number, 4);
    put(movRax, sizeof movRax);
    put(&target, sizeof target);
    put(jmpRax, 2);
    return code;
}

}  // namespace

void* resolveImport(const std::string&, const std::string& name) {
    for (const auto& f : kImplemented)
        if (name == f.name) return f.address;
    stubbedNames().push_back(name);
    return makeStub(static_cast<unsigned>(stubbedNames().size() - 1));
}

}  // namespace sorvel::pe
