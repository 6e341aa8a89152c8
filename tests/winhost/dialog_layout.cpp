// The three dialog templates as tables, written from the dialogs' design,
// and their comparison with the windows the dialog manager created.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/dialog_templates.h"
#include "winhost/checks.h"
#include "winhost/dialog_checks.h"
#include "winhost/dialog_driver.h"

namespace sorvel::test {
namespace {

using templates::Control;
using Template = templates::Dialog;
using templates::kHsv;
using templates::kRgb;
using templates::kYiq;

bool isIcon(const Control& c) { return c.caption[0] == '#'; }  // "#102", the icon group

// clang-format off
const DialogFilter kFilters[] = {
    {"yiq", "plugins\\sorvelYIQ.txt", false,
     {{"balance", 1000, 1013, 1003, 150}, {"intensity", 1002, 1014, 1005, 0},
      {"saturation", 1008, 1015, 1004, 0}}},
    {"rgb", "plugins\\sorvelRGB.txt", true,
     {{"red", 1006, 1013, 1003, 0}, {"green", 1007, 1014, 1004, 0}, {"blue", 1008, 1015, 1005, 0}}},
    {"hsv", "plugins\\sorvSV.txt", false,
     {{"hue", 1000, 1013, 1003, 150}, {"saturation", 1001, 1014, 1004, 0},
      {"value", 1008, 1015, 1005, 0}}},
};
// clang-format on

// Bits the window system adds to what a template asks for: a top-level
// window is shown and clips its siblings, the dialog manager marks the
// dialog 3-D (DS_3DLOOK), a modal frame brings its extended frame bits,
// and every control is created without parent notification.
constexpr DWORD kDialogStyleAdded = WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK;
constexpr DWORD kDialogExAdded = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
constexpr DWORD kControlExAdded = WS_EX_NOPARENTNOTIFY;

std::string hex(DWORD v) {
    char s[16];
    std::snprintf(s, sizeof s, "%#lx", static_cast<unsigned long>(v));
    return s;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A dialog has one default push button: as each default push button is
// created, the dialog manager turns the one before it into a plain push
// button, so only the last of the template keeps the style.
bool defaultPushButton(const Control& c) { return lower(c.cls) == "button" && (c.style & 0xF) == BS_DEFPUSHBUTTON; }
DWORD createdStyle(const Template& t, int index) {
    const DWORD style = t.controls[index].style;
    if (!defaultPushButton(t.controls[index])) return style;
    for (int later = index + 1; later < 25; ++later)
        if (defaultPushButton(t.controls[later])) return (style & ~0xFu) | BS_PUSHBUTTON;
    return style;
}

void checkControl(HWND dialog, HWND control, const Control& c, DWORD style, const std::string& label) {
    // The unnumbered statics' id, -1, reads back as its 16 bits.
    checkEqual(GetDlgCtrlID(control) & 0xFFFF, c.id & 0xFFFF, label + " id");
    checkEqual(className(control), lower(c.cls), label + " class");
    checkEqual(hex(GetWindowLongA(control, GWL_STYLE)), hex(style), label + " style");
    checkEqual(hex(GetWindowLongA(control, GWL_EXSTYLE) & ~kControlExAdded), hex(0), label + " extended style");
    if (!isIcon(c) && lower(c.cls) != "edit")  // readouts are checked with the sliders
        checkEqual(windowText(control), std::string(c.caption), label + " caption");
    const RECT want = dialogUnits(dialog, c.x, c.y, c.w, c.h);
    const RECT got = clientRect(dialog, control);
    if (isIcon(c)) {
        // An icon static takes the size of its image, the 32 x 32 icon,
        // whatever the template says; its place is the template's.
        const RECT icon{want.left, want.top, want.left + GetSystemMetrics(SM_CXICON),
                        want.top + GetSystemMetrics(SM_CYICON)};
        checkEqual(rectText(got), rectText(icon), label + " rectangle");
        check(SendMessageA(control, STM_GETICON, 0, 0) != 0, label + " shows an icon");
    } else {
        checkEqual(rectText(got), rectText(want), label + " rectangle");
    }
}

// The raw template: the extended form starts with version 1 and 0xFFFF.
void checkTemplateForm(HMODULE library, const Template& t, const std::string& kind) {
    HRSRC res = FindResourceA(library, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5));
    if (!check(res != nullptr, kind + " has dialog resource 101")) return;
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(library, res)));
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    checkEqual(extended, t.extended, kind + " template form (extended or plain)");
}

// Icon group 102: 32 x 32 and 16 x 16 images at 8, 4 and 1 bits per pixel.
void checkIconGroup(HMODULE library, const std::string& kind) {
    HRSRC res = FindResourceA(library, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(14));
    if (!check(res != nullptr, kind + " has icon group 102")) return;
    const auto* dir = static_cast<const unsigned char*>(LockResource(LoadResource(library, res)));
    const int count = dir[4] | dir[5] << 8;
    checkEqual(count, 6, kind + " icon group image count");
    int found = 0;
    for (int size : {32, 16})
        for (int bits : {8, 4, 1})
            for (int i = 0; i < count; ++i) {
                const unsigned char* e = dir + 6 + 14 * i;  // width, height, colours, 0, planes, bit count
                if (e[0] == size && e[1] == size && (e[6] | e[7] << 8) == bits) ++found;
            }
    checkEqual(found, 6, kind + " icon group holds 32 and 16 pixel images at 8, 4 and 1 bits");
}

}  // namespace

const DialogFilter* dialogFilter(const char* kind) {
    for (const DialogFilter& f : kFilters)
        if (std::strcmp(f.kind, kind) == 0) return &f;
    return nullptr;
}

void checkDialogLayout(FilterDefinition* fd, HMODULE library, const DialogFilter& f) {
    const std::string kind = f.kind;
    const Template& t = f.rgb ? kRgb : kind == "yiq" ? kYiq : kHsv;
    checkTemplateForm(library, t, kind);
    checkIconGroup(library, kind);

    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    runDialog(fd, inst, preview, [&](HWND dialog) {
        checkEqual(windowText(dialog), std::string(t.caption), kind + " dialog caption");
        checkEqual(hex(GetWindowLongA(dialog, GWL_STYLE) & ~kDialogStyleAdded), hex(t.style), kind + " dialog style");
        checkEqual(hex(GetWindowLongA(dialog, GWL_EXSTYLE) & ~kDialogExAdded), hex(t.exStyle),
                   kind + " dialog extended style");
        RECT client;
        GetClientRect(dialog, &client);
        checkEqual(rectText(client), rectText(dialogUnits(dialog, 0, 0, t.w, t.h)), kind + " dialog client size");
        check(GetWindowLongPtrA(dialog, DWLP_USER) == reinterpret_cast<LONG_PTR>(inst.bytes.data()),
              kind + " user-data slot holds the instance data");

        // Creation order is the order of the window list.
        int n = 0;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++n) {
            if (n >= 25) continue;
            const Control& expected = t.controls[n];
            const std::string label = kind + " control #" + std::to_string(n + 1) + " (" + expected.caption + ")";
            checkControl(dialog, c, expected, createdStyle(t, n), label);
        }
        checkEqual(n, 25, kind + " control count");
        click(dialog, IDCANCEL);
    });
}

}  // namespace sorvel::test
