// A preview object built by hand: a vtable of twelve slots, each counting
// its calls, so that the plug-ins' use of slots 3 (Toggle), 5 (RedoFrame)
// and 8 (InitButton) is checked independently of any class declaration.
// Each slot is a plain function with the object as its first argument and
// the arguments of the method in that slot. On 32-bit Windows methods are
// called with the object in ECX and the callee popping its arguments
// (thiscall), so there the arguments must be exactly the method's; on
// 64-bit a method is an ordinary call.
#pragma once

#include <windows.h>

#if defined(__i386__)
#define SORVEL_METHOD __attribute__((thiscall))
#else
#define SORVEL_METHOD
#endif

namespace sorvel::test {

struct FakePreview {
    static constexpr int kSlots = 12;
    enum Slot { kToggle = 3, kRedoFrame = 5, kInitButton = 8 };

    void* const* vtable = table();  // first word, as in any C++ object
    int calls[kSlots] = {};
    HWND lastWindow[kSlots] = {};

    int total() const {
        int n = 0;
        for (int c : calls) n += c;
        return n;
    }
    void reset() {
        for (int i = 0; i < kSlots; ++i) calls[i] = 0, lastWindow[i] = nullptr;
    }

    // A method with no arguments, one window, a window and a flag, or two
    // pointers (a callback and its context).
    template <int N>
    static long SORVEL_METHOD plain(FakePreview* self) {
        ++self->calls[N];
        return 0;
    }
    template <int N>
    static long SORVEL_METHOD window(FakePreview* self, HWND w) {
        ++self->calls[N];
        self->lastWindow[N] = w;
        return 0;
    }
    template <int N>
    static long SORVEL_METHOD windowFlag(FakePreview* self, HWND w, bool) {
        return window<N>(self, w);
    }
    template <int N>
    static long SORVEL_METHOD callback(FakePreview* self, void*, void*) {
        return plain<N>(self);
    }

    static void* const* table() {
        static void* const methods[kSlots] = {
            reinterpret_cast<void*>(&callback<0>),   reinterpret_cast<void*>(&callback<1>),
            reinterpret_cast<void*>(&plain<2>),      reinterpret_cast<void*>(&window<3>),
            reinterpret_cast<void*>(&windowFlag<4>), reinterpret_cast<void*>(&plain<5>),
            reinterpret_cast<void*>(&plain<6>),      reinterpret_cast<void*>(&plain<7>),
            reinterpret_cast<void*>(&window<8>),     reinterpret_cast<void*>(&plain<9>),
            reinterpret_cast<void*>(&plain<10>),     reinterpret_cast<void*>(&plain<11>),
        };
        return methods;
    }
};

}  // namespace sorvel::test
