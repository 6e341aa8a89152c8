// Calls into the library. On 32-bit each call is made with the stack
// aligned to 4 bytes only (offsets 4, 8 and 12 from 16 in turn), as a host
// built with another compiler may make it; the library must realign what it
// needs. On 64-bit, Windows requires 16-byte alignment: plain calls.
#pragma once

#include <cstdint>

#include "frame/host_abi.h"

namespace sorvel::pe {

#if defined(__i386__)
extern "C" std::uint32_t sorvel_call_misaligned(const void* fn, const std::uint32_t* args, unsigned count,
                                                unsigned offset);

inline std::uint32_t callMisaligned(const void* fn, std::initializer_list<std::uint32_t> args, int call) {
    return sorvel_call_misaligned(fn, args.begin(), static_cast<unsigned>(args.size()),
                                  4 + 4 * static_cast<unsigned>(call % 3));
}

template <class T>
std::uint32_t word(T* p) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

inline int callRun(FilterRunProc run, const FilterActivation* fa, int call) {
    return static_cast<int>(callMisaligned(reinterpret_cast<const void*>(run), {word(fa), 0}, call));
}

inline void callConfig(FilterDefinition* fd, FilterActivation& fa, int a, int b, int c, int call) {
    CScriptValue argv[3]{};
    const int values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        argv[i].type = 1;
        argv[i].u.i = values[i];
    }
    callMisaligned(reinterpret_cast<const void*>(fd->script_obj->func_list[0].func_ptr), {0, word(&fa), word(argv), 3},
                   call);
}
#else
inline int callRun(FilterRunProc run, const FilterActivation* fa, int) { return run(fa, nullptr); }

inline void callConfig(FilterDefinition* fd, FilterActivation& fa, int a, int b, int c, int) {
    CScriptValue argv[3]{};
    const int values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        argv[i].type = 1;
        argv[i].u.i = values[i];
    }
    fd->script_obj->func_list[0].func_ptr(nullptr, &fa, argv, 3);
}
#endif

}  // namespace sorvel::pe
