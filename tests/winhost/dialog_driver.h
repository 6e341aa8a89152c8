// Drives a plug-in's configuration dialog from inside its modal loop: a
// thread timer fires once the loop runs, finds the dialog window and hands
// it to a script, which reads and operates the controls with the small
// helpers below and ends the dialog with OK or Cancel.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <string>

#include "frame/host_abi.h"
#include "winhost/checks.h"
#include "winhost/fake_preview.h"
#include "winhost/host_instance.h"

namespace sorvel::test {

using DialogScript = std::function<void(HWND dialog)>;

namespace detail {

struct PendingScript {
    DialogScript script;
    bool ran = false;
    int waits = 0;
};
inline PendingScript& pending() {
    static PendingScript p;
    return p;
}

inline BOOL CALLBACK findDialogWindow(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The dialog manager shows a modal dialog once its queue is first empty;
// the script waits for that, a few seconds at most.
inline void CALLBACK runPendingScript(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialogWindow, reinterpret_cast<LPARAM>(&dialog));
    if ((!dialog || !IsWindowVisible(dialog)) && ++pending().waits < 300) return;
    KillTimer(nullptr, id);
    if (!check(dialog != nullptr, "the configuration dialog is open")) return;
    check(IsWindowVisible(dialog), "the configuration dialog is shown");
    pending().ran = true;
    pending().script(dialog);
    // A script that forgot to close the dialog must not hang the run.
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        check(false, "the script ended the dialog");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace detail

// Runs the configuration procedure as the host does (the fake preview in
// fa.ifp, no parent window) with the script acting on the open dialog.
// Returns the configuration procedure's result, or -1 when the script
// never ran.
inline int runDialog(FilterDefinition* fd, HostInstance& inst, FakePreview& preview, DialogScript script) {
    detail::pending() = {std::move(script), false, 0};
    inst.fa.ifp = reinterpret_cast<IFilterPreview*>(&preview);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, detail::runPendingScript);
    const int result = fd->configProc(&inst.fa, nullptr, nullptr);
    KillTimer(nullptr, timer);
    return detail::pending().ran ? result : -1;
}

// ---- Reading controls -----------------------------------------------------

inline std::string windowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string itemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Window classes compare without regard to case, as Windows looks them up.
inline std::string className(HWND window) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lower(cls);
}

inline int sliderPos(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

// The control's window rectangle relative to the dialog's client area.
inline RECT clientRect(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A dialog-unit rectangle x, y, w, h in pixels of this dialog, mapped field
// by field as the dialog manager places a control.
inline RECT dialogUnits(HWND dialog, int x, int y, int w, int h) {
    RECT r{x, y, w, h};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

// ---- Operating controls ---------------------------------------------------

// WM_HSCROLL as a trackbar sends it: the code in the low word, the position
// in the high word for the thumb codes, the sender in lParam.
inline void scroll(HWND dialog, int fromId, int code, int position = 0) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(GetDlgItem(dialog, fromId)));
}

inline void command(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline void click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

// What the dialog procedure itself returns to the dialog manager.
inline INT_PTR callDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    return proc ? proc(dialog, message, wParam, lParam) : -1;
}

}  // namespace sorvel::test
