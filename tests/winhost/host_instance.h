// Instance data as the host allocates it, with the activation record and
// bitmaps that go with it.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/host_abi.h"

namespace sorvel::test {

constexpr unsigned char kFill = 0xCD;

struct HostInstance {
    std::vector<unsigned char> bytes;
    FilterActivation fa{};
    VFBitmap src{}, dst{};

    explicit HostInstance(FilterDefinition* fd) : bytes(static_cast<std::size_t>(fd->inst_data_size), kFill) {
        fa.filter = fd;
        fa.filter_data = bytes.data();
        fa.src = &src;
        fa.dst = &dst;
    }
    // Signed 32-bit word i after the preview word (parameters 1 to 3 are 0 to 2).
    std::int32_t word(int i) const {
        std::int32_t v;
        std::memcpy(&v, bytes.data() + sizeof(void*) + 4 * i, 4);
        return v;
    }
    void setWord(int i, std::int32_t v) { std::memcpy(bytes.data() + sizeof(void*) + 4 * i, &v, 4); }
    void* previewWord() const {
        void* p;
        std::memcpy(&p, bytes.data(), sizeof p);
        return p;
    }
};

// Calls the filter's Config script function with three integer arguments.
inline void scriptConfig(FilterDefinition* fd, HostInstance& inst, int a, int b, int c) {
    CScriptValue argv[3]{};
    const int values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        argv[i].type = 1;
        argv[i].u.i = values[i];
    }
    fd->script_obj->func_list[0].func_ptr(nullptr, &inst.fa, argv, 3);
}

}  // namespace sorvel::test
