// Soak test of one plug-in library: thousands of host cycles (new instance,
// Config from a script, the script string, a frame, and a configuration
// dialog opened and cancelled) must leave the process's memory, kernel
// handles and window-system objects where they were.
//
//   soak PLUGIN.vdf CYCLES
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "winhost/accepting_host.h"
#include "winhost/checks.h"
#include "winhost/fake_preview.h"
#include "winhost/host_instance.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;
using sorvel::test::HostInstance;

int dialogsShown = 0;

// Cancels every dialog as it is created: the posted Cancel waits in the
// queue until the dialog's modal loop runs.
LRESULT CALLBACK cancelOnCreate(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char cls[16] = {};
    if (code == HCBT_CREATEWND) GetClassNameA(window, cls, sizeof cls);
    if (code == HCBT_CREATEWND && std::strcmp(cls, "#32770") == 0) {
        ++dialogsShown;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What the process holds. Memory is the committed private memory, found by
// walking the address space. Handle tables hand out the lowest free slot,
// so the value of a fresh handle (kernel and GDI) rises if handles leak;
// Wine reports no handle or window-object counts of its own.
struct Usage {
    std::size_t committed;
    std::uintptr_t nextKernelHandle, nextGdiHandle;
};

std::size_t committedPrivateBytes() {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    }
    return total;
}

Usage usageNow() {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const Usage u{committedPrivateBytes(), reinterpret_cast<std::uintptr_t>(event),
                  reinterpret_cast<std::uintptr_t>(brush) & 0xFFFF};
    CloseHandle(event);
    DeleteObject(brush);
    return u;
}

void cycle(FilterDefinition* fd, std::vector<std::uint32_t>& frame, int i, int& cancelled) {
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    sorvel::test::scriptConfig(fd, inst, i % 301, (i * 7) % 301, (i * 13) % 301);
    char text[64];
    fd->fssProc(&inst.fa, nullptr, text, sizeof text);
    fd->startProc(&inst.fa, nullptr);
    inst.src.data = frame.data();
    inst.src.w = 64;
    inst.src.h = 16;
    inst.src.pitch = 64 * 4;
    inst.dst = inst.src;
    fd->runProc(&inst.fa, nullptr);
    fd->endProc(&inst.fa, nullptr);

    sorvel::test::FakePreview preview;
    inst.fa.ifp = reinterpret_cast<IFilterPreview*>(&preview);
    if (fd->configProc(&inst.fa, nullptr, nullptr) == 1) ++cancelled;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: soak PLUGIN.vdf CYCLES\n");
        return 2;
    }
    const int cycles = static_cast<int>(std::strtol(argv[2], nullptr, 10));
    HMODULE lib = LoadLibraryA(argv[1]);
    if (!check(lib != nullptr, "load the library")) return sorvel::test::report("soak");
    FilterDefinition* registered = sorvel::test::registerWithAcceptingHost(lib);
    if (!check(registered != nullptr, "registration")) return sorvel::test::report("soak");

    HHOOK hook = SetWindowsHookExA(WH_CBT, cancelOnCreate, nullptr, GetCurrentThreadId());
    std::vector<std::uint32_t> frame(64 * 16, 0x00336699);

    // A first round settles one-time allocations (class registrations,
    // caches of the window system), then the measured rounds follow.
    int cancelled = 0;
    for (int i = 0; i < 50; ++i) cycle(registered, frame, i, cancelled);
    const Usage before = usageNow();
    for (int i = 0; i < cycles; ++i) cycle(registered, frame, i, cancelled);
    const Usage after = usageNow();
    UnhookWindowsHookEx(hook);

    checkEqual(dialogsShown, cycles + 50, "every dialog opened");
    checkEqual(cancelled, cycles + 50, "every configuration was cancelled");
    std::printf("committed private bytes %zu -> %zu, next kernel handle %#zx -> %#zx, next GDI handle %#zx -> %#zx\n",
                before.committed, after.committed, static_cast<std::size_t>(before.nextKernelHandle),
                static_cast<std::size_t>(after.nextKernelHandle), static_cast<std::size_t>(before.nextGdiHandle),
                static_cast<std::size_t>(after.nextGdiHandle));
    // Memory may move by allocator slack, never with the cycle count.
    check(after.committed <= before.committed + 256 * 1024, "no growth of private memory");
    checkEqual(after.nextKernelHandle, before.nextKernelHandle, "no growth of kernel handles");
    checkEqual(after.nextGdiHandle, before.nextGdiHandle, "no growth of GDI handles");
    FreeLibrary(lib);
    return sorvel::test::report("soak");
}
