#include "winhost/help_intercept.h"

#include <cstring>

namespace sorvel::test {

HelpCalls& helpCalls() {
    static HelpCalls calls;
    return calls;
}

namespace {

UINT WINAPI recordWinExec(LPCSTR commandLine, UINT show) {
    helpCalls().commandLines.emplace_back(commandLine ? commandLine : "(null)");
    helpCalls().showModes.push_back(show);
    return 33;  // what a successful start answers
}

void WINAPI recordDebugOutput(LPCSTR text) { helpCalls().debugOutput.emplace_back(text ? text : "(null)"); }

struct Replacement {
    const char* name;
    void* recorder;
    void* original;  // kernel32's own entry, to recognise unnamed slots
    bool patched;
};

void patchSlot(void** slot, void* value) {
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

bool interceptHelp(HMODULE library) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    Replacement replacements[] = {
        {"WinExec", reinterpret_cast<void*>(&recordWinExec), reinterpret_cast<void*>(GetProcAddress(kernel, "WinExec")),
         false},
        {"OutputDebugStringA", reinterpret_cast<void*>(&recordDebugOutput),
         reinterpret_cast<void*>(GetProcAddress(kernel, "OutputDebugStringA")), false},
    };

    auto* base = reinterpret_cast<unsigned char*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return false;

    for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), "kernel32.dll") != 0) continue;
        auto* slots = reinterpret_cast<void**>(base + imp->FirstThunk);
        const auto* names = imp->OriginalFirstThunk
                                ? reinterpret_cast<const IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk)
                                : nullptr;
        for (int i = 0; slots[i]; ++i) {
            const char* name = nullptr;
            if (names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal))
                name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData)->Name;
            for (Replacement& r : replacements) {
                if ((name && std::strcmp(name, r.name) == 0) || slots[i] == r.original) {
                    patchSlot(&slots[i], r.recorder);
                    r.patched = true;
                }
            }
        }
    }
    return replacements[0].patched && replacements[1].patched;
}

}  // namespace sorvel::test
