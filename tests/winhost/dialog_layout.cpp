// The three dialog templates as tables, written from the dialogs' design,
// and their comparison with the windows the dialog manager created.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "winhost/checks.h"
#include "winhost/dialog_checks.h"
#include "winhost/dialog_driver.h"

namespace sorvel::test {
namespace {

constexpr int kNoId = 0xFFFF;  // the unnumbered static, compared as 16 bits
constexpr const char* kIcon = nullptr;  // a static that shows icon group 102

// Control styles, child and visible included.
constexpr DWORD kDefPush = 0x50030001, kPush = 0x50010000, kText = 0x50020000, kTextRight = 0x50020002,
                kSlider = 0x50010011, kPushBottom = 0x50010800, kPushCentreBottom = 0x50010B00,
                kReadout = 0x50000802, kCheck = 0x50010003, kIconStyle = 0x58000803;

struct ControlSpec {
    int id;
    const char* cls;
    const char* caption;  // readouts and the icon are checked elsewhere
    int x, y, w, h;
    DWORD style;
};

struct TemplateSpec {
    const char* caption;
    int w, h;
    DWORD style, exStyle;
    int form;  // 1 extended, 0 plain, -1 either
    ControlSpec controls[25];
};

const TemplateSpec kYiq = {
    "filter: red/green/blue adjust", 227, 201, 0x80C800C0, 0, -1,
    {{1, "button", "OK", 63, 180, 48, 14, kDefPush},
     {2, "button", "Cancel", 173, 180, 47, 14, kPush},
     {kNoId, "static", "Balance", 47, 91, 52, 8, kText},
     {kNoId, "static", "Intensity", 47, 7, 52, 8, kText},
     {kNoId, "static", "Saturation", 47, 49, 52, 8, kText},
     {9, "button", "Help", 118, 180, 47, 14, kPush},
     {1000, "msctls_trackbar32", "Slider1", 7, 104, 213, 12, kSlider},
     {1002, "msctls_trackbar32", "Slider1", 7, 18, 213, 12, kSlider},
     {1008, "msctls_trackbar32", "Slider1", 7, 61, 213, 12, kSlider},
     {kNoId, "static", "I", 13, 120, 8, 8, kText},
     {kNoId, "static", "Q", 190, 120, 24, 10, kTextRight},
     {kNoId, "static", "min", 13, 34, 11, 10, kText},
     {kNoId, "static", "max", 200, 34, 14, 8, kTextRight},
     {kNoId, "static", "min", 13, 76, 11, 10, kText},
     {kNoId, "static", "max", 200, 76, 14, 8, kTextRight},
     {1003, "button", "default", 124, 120, 26, 14, kPushBottom},
     {1004, "button", "default", 124, 76, 26, 14, kPushCentreBottom},
     {1005, "button", "default", 124, 34, 26, 14, kPushCentreBottom},
     {3, "button", "Show preview", 7, 180, 48, 14, kDefPush},
     {1013, "edit", "", 182, 92, 32, 12, kReadout},
     {1014, "edit", "", 182, 7, 32, 12, kReadout},
     {1015, "edit", "", 182, 48, 32, 12, kReadout},
     {1018, "button", "linked", 167, 155, 35, 10, kCheck},
     {kNoId, "static", kIcon, 21, 145, 21, 20, kIconStyle},
     {kNoId, "static", "Vornak software", 45, 158, 47, 8, kText}},
};

const TemplateSpec kRgb = {
    "filter: Video Sorvel (RGB)", 228, 202, 0x80C800C0, 0x00040000, 1,
    {{1, "button", "OK", 64, 181, 48, 14, kDefPush},
     {2, "button", "Cancel", 170, 181, 47, 14, kPush},
     {kNoId, "static", "Red", 51, 7, 34, 8, kText},
     {kNoId, "static", "Green", 51, 50, 52, 8, kText},
     {kNoId, "static", "Blue", 51, 93, 43, 8, kText},
     {9, "button", "Help", 118, 181, 47, 14, kPush},
     {1006, "msctls_trackbar32", "Slider1", 10, 15, 207, 12, kSlider},
     {1007, "msctls_trackbar32", "Slider1", 10, 61, 207, 12, kSlider},
     {1008, "msctls_trackbar32", "Slider1", 10, 107, 207, 12, kSlider},
     {kNoId, "static", "none", 10, 29, 17, 10, kText},
     {kNoId, "static", "max", 197, 29, 14, 10, kTextRight},
     {kNoId, "static", "none", 10, 75, 17, 10, kText},
     {kNoId, "static", "max", 200, 75, 14, 13, kTextRight},
     {kNoId, "static", "none", 10, 121, 17, 10, kText},
     {kNoId, "static", "max", 200, 121, 14, 10, kTextRight},
     {1003, "button", "default", 99, 29, 25, 12, kPushBottom},
     {1005, "button", "default", 101, 121, 25, 13, kPushCentreBottom},
     {1004, "button", "default", 101, 75, 25, 12, kPushCentreBottom},
     {3, "button", "Show preview", 10, 181, 48, 14, kDefPush},
     {1013, "edit", "", 182, 7, 32, 12, kReadout},
     {1014, "edit", "", 182, 48, 32, 12, kReadout},
     {1015, "edit", "", 182, 95, 32, 12, kReadout},
     {1018, "button", "linked", 167, 155, 35, 10, kCheck},
     {kNoId, "static", kIcon, 21, 145, 21, 20, kIconStyle},
     {kNoId, "static", "Vornak software", 45, 158, 47, 8, kText}},
};

const TemplateSpec kHsv = {
    "filter: Video Sorvel (SV)", 227, 199, 0x80C800C0, 0, 0,
    {{1, "button", "OK", 63, 178, 48, 14, kDefPush},
     {2, "button", "Cancel", 173, 178, 47, 14, kPush},
     {kNoId, "static", "Hue", 48, 7, 14, 8, kText},
     {kNoId, "static", "Saturation", 48, 49, 33, 8, kText},
     {kNoId, "static", "Value", 48, 91, 19, 8, kText},
     {9, "button", "Help", 118, 178, 47, 14, kPush},
     {1000, "msctls_trackbar32", "Slider1", 7, 19, 213, 12, kSlider},
     {1001, "msctls_trackbar32", "Slider1", 7, 62, 213, 12, kSlider},
     {1008, "msctls_trackbar32", "Slider1", 7, 105, 213, 12, kSlider},
     {kNoId, "static", "none", 7, 34, 17, 8, kText},
     {kNoId, "static", "max", 206, 32, 14, 8, kTextRight},
     {kNoId, "static", "none", 7, 77, 17, 8, kText},
     {kNoId, "static", "max", 206, 75, 14, 8, kTextRight},
     {kNoId, "static", "none", 7, 121, 17, 8, kText},
     {kNoId, "static", "max", 206, 121, 14, 8, kTextRight},
     {1003, "button", "default", 104, 32, 26, 14, kPushBottom},
     {1005, "button", "default", 102, 118, 26, 14, kPushCentreBottom},
     {1004, "button", "default", 104, 75, 26, 14, kPushCentreBottom},
     {3, "button", "Show preview", 7, 178, 48, 14, kDefPush},
     {1013, "edit", "", 182, 7, 32, 12, kReadout},
     {1014, "edit", "", 182, 50, 32, 12, kReadout},
     {1015, "edit", "", 182, 93, 32, 12, kReadout},
     {1018, "button", "linked", 167, 155, 35, 10, kCheck},
     {kNoId, "static", kIcon, 21, 145, 21, 20, kIconStyle},
     {kNoId, "static", "Vornak software", 45, 158, 47, 8, kText}},
};

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
bool defaultPushButton(const ControlSpec& c) {
    return std::strcmp(c.cls, "button") == 0 && (c.style & 0xF) == BS_DEFPUSHBUTTON;
}
DWORD createdStyle(const TemplateSpec& t, int index) {
    const DWORD style = t.controls[index].style;
    if (!defaultPushButton(t.controls[index])) return style;
    for (int later = index + 1; later < 25; ++later)
        if (defaultPushButton(t.controls[later])) return (style & ~0xFu) | BS_PUSHBUTTON;
    return style;
}

void checkControl(HWND dialog, HWND control, const ControlSpec& c, DWORD style, const std::string& label) {
    checkEqual(GetDlgCtrlID(control) & 0xFFFF, c.id, label + " id");
    checkEqual(className(control), std::string(c.cls), label + " class");
    checkEqual(hex(GetWindowLongA(control, GWL_STYLE)), hex(style), label + " style");
    checkEqual(hex(GetWindowLongA(control, GWL_EXSTYLE) & ~kControlExAdded), hex(0), label + " extended style");
    if (c.caption && std::strcmp(c.cls, "edit") != 0)
        checkEqual(windowText(control), std::string(c.caption), label + " caption");
    const RECT want = dialogUnits(dialog, c.x, c.y, c.w, c.h);
    const RECT got = clientRect(dialog, control);
    if (c.caption == kIcon) {
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
void checkTemplateForm(HMODULE library, const TemplateSpec& t, const std::string& kind) {
    HRSRC res = FindResourceA(library, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5));
    if (!check(res != nullptr, kind + " has dialog resource 101") || t.form < 0) return;
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(library, res)));
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    checkEqual(extended ? 1 : 0, t.form, kind + " template form (1 extended, 0 plain)");
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
    const TemplateSpec& t = f.rgb ? kRgb : kind == "yiq" ? kYiq : kHsv;
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
            const ControlSpec& expected = t.controls[n];
            const std::string label = kind + " control #" + std::to_string(n + 1) + " (" +
                                      (expected.caption ? expected.caption : "icon") + ")";
            checkControl(dialog, c, expected, createdStyle(t, n), label);
        }
        checkEqual(n, 25, kind + " control count");
        click(dialog, IDCANCEL);
    });
}

}  // namespace sorvel::test
