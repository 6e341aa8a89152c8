#include "pehost/pe_image.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "pehost/win_calls.h"

namespace sorvel::pe {
namespace {

constexpr bool k64 = sizeof(void*) == 8;

[[noreturn]] void fail(const std::string& why) { throw std::runtime_error(why); }

template <class T>
T read(const unsigned char* at) {
    T v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// The parts of the headers the loader uses.
struct Headers {
    std::uintptr_t imageBase;
    std::uint32_t entryPoint, sectionAlignment, sizeOfImage, sizeOfHeaders;
    std::uint32_t sectionCount;
    const unsigned char* sections;  // the section table
    const unsigned char* directories;
    std::uint32_t directoryCount;
};

Headers parseHeaders(const std::vector<unsigned char>& file) {
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') fail("not an MZ file");
    const std::uint32_t peAt = read<std::uint32_t>(&file[0x3C]);
    if (peAt > file.size() - 24 || std::memcmp(&file[peAt], "PE\0\0", 4) != 0) fail("no PE signature");
    const unsigned char* coff = &file[peAt + 4];
    const std::uint16_t machine = read<std::uint16_t>(coff);
    if (machine != (k64 ? 0x8664 : 0x14C)) fail("the machine type is not this process's");
    if ((read<std::uint16_t>(coff + 18) & 0x2000) == 0) fail("not a DLL");
    const unsigned char* opt = coff + 20;
    const std::uint16_t optSize = read<std::uint16_t>(coff + 16);
    if (peAt + 24 + optSize > file.size()) fail("truncated optional header");
    if (read<std::uint16_t>(opt) != (k64 ? 0x20B : 0x10B)) fail("the optional header is not this process's");
    Headers h{};
    h.imageBase = k64 ? read<std::uint64_t>(opt + 24) : read<std::uint32_t>(opt + 28);
    h.entryPoint = read<std::uint32_t>(opt + 16);
    h.sectionAlignment = read<std::uint32_t>(opt + 32);
    h.sizeOfImage = read<std::uint32_t>(opt + 56);
    h.sizeOfHeaders = read<std::uint32_t>(opt + 60);
    h.directoryCount = read<std::uint32_t>(opt + (k64 ? 108 : 92));
    h.directories = opt + (k64 ? 112 : 96);
    h.sectionCount = read<std::uint16_t>(coff + 2);
    h.sections = opt + optSize;
    if (h.sections + 40 * h.sectionCount > file.data() + file.size()) fail("truncated section table");
    if (h.sectionAlignment % static_cast<std::uint32_t>(sysconf(_SC_PAGESIZE)) != 0)
        fail("sections are not aligned to pages");
    return h;
}

struct Directory {
    std::uint32_t rva, size;
};

Directory directory(const Headers& h, std::uint32_t index) {
    if (index >= h.directoryCount) return {0, 0};
    return {read<std::uint32_t>(h.directories + 8 * index), read<std::uint32_t>(h.directories + 8 * index + 4)};
}

unsigned char* reserve(std::size_t size, std::uintptr_t at) {
    void* want = reinterpret_cast<void*>(at);
    void* got = mmap(want, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (got == MAP_FAILED) fail("cannot map the image");
    if (at != 0 && got != want) {
        munmap(got, size);
        fail("the image base is taken");
    }
    return static_cast<unsigned char*>(got);
}

void copySections(const Headers& h, const std::vector<unsigned char>& file, unsigned char* base) {
    std::memcpy(base, file.data(), h.sizeOfHeaders);
    for (std::uint32_t i = 0; i < h.sectionCount; ++i) {
        const unsigned char* s = h.sections + 40 * i;
        const std::uint32_t virtualSize = read<std::uint32_t>(s + 8), rva = read<std::uint32_t>(s + 12);
        const std::uint32_t rawSize = read<std::uint32_t>(s + 16), rawAt = read<std::uint32_t>(s + 20);
        const std::uint32_t copied = rawSize < virtualSize ? rawSize : virtualSize;
        if (std::uint64_t{rva} + virtualSize > h.sizeOfImage || std::uint64_t{rawAt} + copied > file.size())
            fail("a section lies outside the image or the file");
        std::memcpy(base + rva, file.data() + rawAt, copied);  // the rest stays zero
    }
}

int relocate(const Headers& h, unsigned char* base, std::intptr_t delta) {
    const Directory d = directory(h, 5);
    int applied = 0;
    for (std::uint32_t at = d.rva; at + 8 <= d.rva + d.size;) {
        const std::uint32_t page = read<std::uint32_t>(base + at), blockSize = read<std::uint32_t>(base + at + 4);
        if (blockSize < 8 || at + blockSize > d.rva + d.size) fail("bad relocation block");
        for (std::uint32_t e = 8; e + 2 <= blockSize; e += 2) {
            const std::uint16_t entry = read<std::uint16_t>(base + at + e);
            const int type = entry >> 12;
            unsigned char* where = base + page + (entry & 0xFFF);
            if (type == 0) continue;  // padding
            if (type == 3 && !k64) {
                const std::uint32_t v = read<std::uint32_t>(where) + static_cast<std::uint32_t>(delta);
                std::memcpy(where, &v, 4);
            } else if (type == 10 && k64) {
                const std::uint64_t v = read<std::uint64_t>(where) + static_cast<std::uint64_t>(delta);
                std::memcpy(where, &v, 8);
            } else {
                fail("relocation of type " + std::to_string(type));
            }
            ++applied;
        }
        at += blockSize;
    }
    return applied;
}

void bindImports(const Headers& h, unsigned char* base, ImportResolver resolve) {
    const Directory d = directory(h, 1);
    for (std::uint32_t at = d.rva; d.size != 0; at += 20) {
        const std::uint32_t lookup = read<std::uint32_t>(base + at), nameRva = read<std::uint32_t>(base + at + 12);
        const std::uint32_t addresses = read<std::uint32_t>(base + at + 16);
        if (nameRva == 0) break;
        const std::string dll = reinterpret_cast<const char*>(base + nameRva);
        for (std::uint32_t i = 0;; ++i) {
            const std::uintptr_t thunk = read<std::uintptr_t>(base + (lookup ? lookup : addresses) + i * sizeof(void*));
            if (thunk == 0) break;
            if (thunk >> (8 * sizeof(void*) - 1)) fail("import by ordinal from " + dll);
            const std::string name = reinterpret_cast<const char*>(base + thunk + 2);
            void* target = resolve(dll, name);
            std::memcpy(base + addresses + i * sizeof(void*), &target, sizeof target);
        }
    }
}

void protect(const Headers& h, unsigned char* base) {
    if (mprotect(base, h.sizeOfHeaders, PROT_READ) != 0) fail("cannot protect the headers");
    for (std::uint32_t i = 0; i < h.sectionCount; ++i) {
        const unsigned char* s = h.sections + 40 * i;
        const std::uint32_t virtualSize = read<std::uint32_t>(s + 8), rva = read<std::uint32_t>(s + 12);
        const std::uint32_t flags = read<std::uint32_t>(s + 36);
        int prot = PROT_NONE;
        if (flags & 0x20000000u) prot |= PROT_EXEC;
        if (flags & 0x40000000u) prot |= PROT_READ;
        if (flags & 0x80000000u) prot |= PROT_WRITE;
        const std::uint32_t span = (virtualSize + h.sectionAlignment - 1) / h.sectionAlignment * h.sectionAlignment;
        if (span != 0 && mprotect(base + rva, span, prot) != 0) fail("cannot protect a section");
    }
}

using DllEntry = int(SORVEL_WINAPI*)(void* instance, std::uint32_t reason, void* reserved);
constexpr std::uint32_t kProcessAttach = 1;

int runTlsCallbacks(const Headers& h, unsigned char* base) {
    const Directory d = directory(h, 9);
    if (d.size == 0) return 0;
    // StartAddressOfRawData, EndAddressOfRawData, AddressOfIndex,
    // AddressOfCallBacks: addresses, already relocated.
    const auto callbacks = read<std::uintptr_t>(base + d.rva + 3 * sizeof(void*));
    int run = 0;
    for (auto* at = reinterpret_cast<const unsigned char*>(callbacks); callbacks != 0; at += sizeof(void*), ++run) {
        const auto callback = read<std::uintptr_t>(at);
        if (callback == 0) break;
        reinterpret_cast<DllEntry>(callback)(base, kProcessAttach, nullptr);
    }
    return run;
}

}  // namespace

Image load(const std::string& path, Base where, ImportResolver resolve) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read " + path);
    const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const Headers h = parseHeaders(file);

    Image image;
    image.preferredBase = h.imageBase;
    image.size = h.sizeOfImage;
    image.base = reserve(h.sizeOfImage, where == Base::preferred ? h.imageBase : 0);
    copySections(h, file, image.base);
    image.relocationsApplied = relocate(
        h, image.base, reinterpret_cast<std::intptr_t>(image.base) - static_cast<std::intptr_t>(h.imageBase));
    bindImports(h, image.base, resolve);
    protect(h, image.base);
    image.tlsCallbacksRun = runTlsCallbacks(h, image.base);
    if (h.entryPoint != 0 &&
        !reinterpret_cast<DllEntry>(image.base + h.entryPoint)(image.base, kProcessAttach, nullptr))
        fail("the entry point refused to attach");
    return image;
}

void unloadKeepingGuard(const Image& image) {
    if (mmap(image.base, image.size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
        fail("cannot unmap the image");
}

void* exportedAddress(const Image& image, const std::string& name) {
    const unsigned char* base = image.base;
    const std::uint32_t peAt = read<std::uint32_t>(base + 0x3C);
    const unsigned char* opt = base + peAt + 24;
    const std::uint32_t dirRva = read<std::uint32_t>(opt + (k64 ? 112 : 96));
    if (dirRva == 0) return nullptr;
    const unsigned char* dir = base + dirRva;
    const std::uint32_t names = read<std::uint32_t>(dir + 24), functions = read<std::uint32_t>(dir + 28);
    const std::uint32_t nameTable = read<std::uint32_t>(dir + 32), ordinals = read<std::uint32_t>(dir + 36);
    for (std::uint32_t i = 0; i < names; ++i) {
        const char* n = reinterpret_cast<const char*>(base + read<std::uint32_t>(base + nameTable + 4 * i));
        if (name != n) continue;
        const std::uint16_t ordinal = read<std::uint16_t>(base + ordinals + 2 * i);
        return const_cast<unsigned char*>(base + read<std::uint32_t>(base + functions + 4 * ordinal));
    }
    return nullptr;
}

}  // namespace sorvel::pe
