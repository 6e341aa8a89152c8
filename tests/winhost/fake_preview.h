// A preview object built by hand: a vtable of twelve slots, each counting
// its calls, so that the plug-ins' use of slots 3 (Toggle), 5 (RedoFrame)
// and 8 (InitButton) is checked independently of any class declaration.
// The slots rely on the 64-bit calling convention, where a method is a
// plain function with the object as its first argument and a callee that
// ignores arguments it does not take.
#pragma once

#include <windows.h>

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

    template <int N>
    static long slot(FakePreview* self, HWND window) {
        ++self->calls[N];
        self->lastWindow[N] = window;
        return 0;
    }

    static void* const* table() {
        static void* const methods[kSlots] = {
            reinterpret_cast<void*>(&slot<0>),  reinterpret_cast<void*>(&slot<1>),
            reinterpret_cast<void*>(&slot<2>),  reinterpret_cast<void*>(&slot<3>),
            reinterpret_cast<void*>(&slot<4>),  reinterpret_cast<void*>(&slot<5>),
            reinterpret_cast<void*>(&slot<6>),  reinterpret_cast<void*>(&slot<7>),
            reinterpret_cast<void*>(&slot<8>),  reinterpret_cast<void*>(&slot<9>),
            reinterpret_cast<void*>(&slot<10>), reinterpret_cast<void*>(&slot<11>),
        };
        return methods;
    }
};

}  // namespace sorvel::test
