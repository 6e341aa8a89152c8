#include "winhost/config_checks.h"

#include <cstring>
#include <vector>

#include "winhost/checks.h"
#include "winhost/fake_preview.h"
#include "winhost/host_instance.h"

namespace sorvel::test {
namespace {

// What the timer does once the modal dialog runs: change the instance data
// as the dialog's controls would, then press a button.
struct DialogScript {
    HostInstance* inst = nullptr;
    int button = IDCANCEL;
    bool sawDialog = false;
} script;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK actOnDialog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    script.sawDialog = dialog != nullptr;
    for (int i = 0; i < 3; ++i) script.inst->setWord(i, 1000 + i);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(script.button, BN_CLICKED), 0);
}

int configure(FilterDefinition* fd, HostInstance& inst, FakePreview& preview, int button) {
    script = DialogScript{&inst, button, false};
    inst.fa.ifp = reinterpret_cast<IFilterPreview*>(&preview);
    SetTimer(nullptr, 0, 50, actOnDialog);
    return fd->configProc(&inst.fa, nullptr, nullptr);
}

}  // namespace

void checkConfigDialog(FilterDefinition* fd, bool rgb) {
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    scriptConfig(fd, inst, 10, 20, 30);
    if (rgb) inst.bytes[sizeof(void*) + 24] = 0;  // linked cleared, to see it restored
    const std::vector<unsigned char> before = inst.bytes;

    checkEqual(configure(fd, inst, preview, IDCANCEL), 1, "Cancel: configuration returns 1");
    check(script.sawDialog, "Cancel: dialog 101 opened");
    check(inst.bytes == before, "Cancel restores every byte of the instance data");

    checkEqual(configure(fd, inst, preview, IDOK), 0, "OK: configuration returns 0");
    check(script.sawDialog, "OK: dialog 101 opened");
    check(inst.previewWord() == &preview, "OK leaves the preview pointer in the first word");
    checkEqual(inst.word(0), 1000, "OK keeps parameter 1");
    checkEqual(inst.word(1), 1001, "OK keeps parameter 2");
    checkEqual(inst.word(2), 1002, "OK keeps parameter 3");
}

}  // namespace sorvel::test
