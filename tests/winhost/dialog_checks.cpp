// Behaviour of the three configuration dialogs, step by step against the
// instance data and the calls on the fake preview.
#include "winhost/dialog_checks.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "winhost/checks.h"
#include "winhost/dialog_driver.h"
#include "winhost/help_intercept.h"
#include "winhost/window_capture.h"

namespace sorvel::test {
namespace {

constexpr int kLinked = 1018;

int redoCount(const FakePreview& p) { return p.calls[FakePreview::kRedoFrame]; }

std::string triple(int a, int b, int c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}
std::string params(const HostInstance& inst) { return triple(inst.word(0), inst.word(1), inst.word(2)); }
std::string positions(HWND d, const DialogFilter& f) {
    return triple(sliderPos(d, f.rows[0].slider), sliderPos(d, f.rows[1].slider), sliderPos(d, f.rows[2].slider));
}
std::string readouts(HWND d, const DialogFilter& f) {
    return itemText(d, f.rows[0].readout) + "|" + itemText(d, f.rows[1].readout) + "|" + itemText(d, f.rows[2].readout);
}
// The readout of a value: unsigned decimal, or the RGB gain as a fraction.
std::string readoutOf(const DialogFilter& f, std::int32_t v) {
    if (!f.rgb) return std::to_string(static_cast<std::uint32_t>(v));
    char s[32];
    std::snprintf(s, sizeof s, "%1.3f", v * static_cast<double>(0.0033333334f));
    return s;
}
std::string readoutsOf(const DialogFilter& f, int a, int b, int c) {
    return readoutOf(f, a) + "|" + readoutOf(f, b) + "|" + readoutOf(f, c);
}

// The RGB record beyond the gains: drag references and the three flags.
std::string dragState(const HostInstance& inst) {
    const unsigned char* flags = inst.bytes.data() + sizeof(void*) + 24;
    return "refs " + triple(inst.word(3), inst.word(4), inst.word(5)) + " linked " + std::to_string(flags[0]) +
           " tracking " + std::to_string(flags[1]) + " wasTracking " + std::to_string(flags[2]);
}

// One user action on a dialog row. Slider actions move the trackbar first,
// as the trackbar itself does before it tells the dialog.
enum Act { Track, Position, End, LineDown, LineUp, PageDown, Foreign, Quiet, Default, Linked };

void perform(HWND d, const DialogFilter& f, Act act, int row, int value) {
    const int slider = f.rows[row].slider;
    if (act != End && act != Foreign && act != Default && act != Linked)
        SendDlgItemMessageA(d, slider, TBM_SETPOS, TRUE, value);
    switch (act) {
        case Track: scroll(d, slider, TB_THUMBTRACK, value); break;
        case Position: scroll(d, slider, TB_THUMBPOSITION, value); break;
        case End: scroll(d, slider, TB_ENDTRACK); break;
        case LineDown: scroll(d, slider, TB_LINEDOWN); break;
        case LineUp: scroll(d, slider, TB_LINEUP); break;
        case PageDown: scroll(d, slider, TB_PAGEDOWN); break;
        case Foreign: scroll(d, IDOK, TB_ENDTRACK); break;  // from a control that is no slider
        case Quiet: break;
        case Default: command(d, f.rows[row].defaultButton); break;
        case Linked: click(d, kLinked); break;
    }
}

const char* const kActNames[] = {"drag step", "thumb release",        "end of track", "line down", "line up",
                                 "page down", "scroll from a button", "silent move",  "default",   "linked"};

struct Step {
    Act act;
    int row, value;
    int after[3];  // parameters after the step
    int redraws;   // RedoFrame calls the step causes
};

void runSteps(HWND d, const DialogFilter& f, HostInstance& inst, FakePreview& preview, const std::vector<Step>& steps,
              const std::string& label) {
    int n = 0;
    for (const Step& s : steps) {
        const std::string what = label + " step " + std::to_string(++n) + " (" + kActNames[s.act] + " " +
                                 f.rows[s.row].name + " " + std::to_string(s.value) + ")";
        // The YIQ and HSV readouts are rewritten by every slider message.
        const bool scrolls = s.act != Quiet && s.act != Default && s.act != Linked;
        if (!f.rgb && scrolls)
            for (const SliderRow& r : f.rows) SetDlgItemTextA(d, r.readout, "?");
        const int redo = redoCount(preview);
        perform(d, f, s.act, s.row, s.value);
        checkEqual(params(inst), triple(s.after[0], s.after[1], s.after[2]), what + ": parameters");
        checkEqual(redoCount(preview) - redo, s.redraws, what + ": RedoFrame calls");
        if (s.act != Quiet)
            checkEqual(readouts(d, f), readoutsOf(f, s.after[0], s.after[1], s.after[2]), what + ": readouts");
    }
}

std::string helpPath(const DialogFilter& f) {
    char module[MAX_PATH] = {}, full[MAX_PATH] = {};
    char* filePart = nullptr;
    GetModuleFileNameA(nullptr, module, sizeof module);
    GetFullPathNameA(module, sizeof full, full, &filePart);
    if (filePart) *filePart = '\0';
    return std::string(full) + f.helpFile;
}

// ---- Every dialog ---------------------------------------------------------

void checkOpening(FilterDefinition* fd, const DialogFilter& f) {
    const std::string kind = f.kind;
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    const std::string defaults = params(inst);
    const int result = runDialog(fd, inst, preview, [&](HWND d) {
        const int d0 = f.rows[0].defaultValue, d1 = f.rows[1].defaultValue, d2 = f.rows[2].defaultValue;
        checkEqual(readouts(d, f), readoutsOf(f, d0, d1, d2), kind + " readouts of the defaults");
        checkEqual(positions(d, f), triple(d0, d1, d2), kind + " slider positions of the defaults");
        for (const SliderRow& r : f.rows) {
            checkEqual(SendDlgItemMessageA(d, r.slider, TBM_GETRANGEMIN, 0, 0), 0, kind + " " + r.name + " minimum");
            checkEqual(SendDlgItemMessageA(d, r.slider, TBM_GETRANGEMAX, 0, 0), 300, kind + " " + r.name + " maximum");
        }
        if (f.rgb) checkEqual(IsDlgButtonChecked(d, kLinked), 1u, "rgb \"linked\" checked for a new instance");
        checkEqual(preview.calls[FakePreview::kInitButton], 1, kind + " InitButton once at opening");
        check(preview.lastWindow[FakePreview::kInitButton] == GetDlgItem(d, 3), kind + " InitButton gets button 3");
        checkEqual(preview.total(), 1, kind + " no other preview call at opening");

        click(d, 3);
        checkEqual(preview.calls[FakePreview::kToggle], 1, kind + " Show preview calls Toggle once");
        check(preview.lastWindow[FakePreview::kToggle] == d, kind + " Toggle gets the dialog window");
        checkEqual(callDialogProc(d, WM_COMMAND, 3, 0), INT_PTR{FALSE}, kind + " Show preview returns FALSE");
        checkEqual(callDialogProc(d, WM_COMMAND, 4242, 0), INT_PTR{FALSE}, kind + " an unknown command returns FALSE");
        checkEqual(params(inst), defaults, kind + " Show preview and unknown commands change nothing");
        checkEqual(redoCount(preview), 0, kind + " no RedoFrame without a change");
        checkEqual(callDialogProc(d, WM_COMMAND, IDOK, 0), INT_PTR{TRUE}, kind + " OK returns TRUE");
    });
    checkEqual(result, 0, kind + " OK: configuration returns 0");
    check(inst.previewWord() == &preview, kind + " OK leaves the preview pointer in the first word");
}

// Values outside 0..300 from a script: shown unchanged, sliders at the ends.
void checkOutOfRange(FilterDefinition* fd, const DialogFilter& f) {
    struct Opening {
        int p[3];
        const char* readouts;
        const char* positions;
    };
    const std::vector<Opening> openings =
        f.rgb ? std::vector<Opening>{{{0, 1, 2}, "0.000|0.003|0.007", "0,1,2"},
                                     {{100, 150, 200}, "0.333|0.500|0.667", "100,150,200"},
                                     {{299, 300, 400}, "0.997|1.000|1.333", "299,300,300"}}
              : std::vector<Opening>{{{-5, 400, 7}, "4294967291|400|7", "0,300,7"}};
    for (const Opening& o : openings) {
        const std::string label = std::string(f.kind) + " opened with " + triple(o.p[0], o.p[1], o.p[2]);
        FakePreview preview;
        HostInstance inst(fd);
        fd->initProc(&inst.fa, nullptr);
        scriptConfig(fd, inst, o.p[0], o.p[1], o.p[2]);
        const std::vector<unsigned char> before = inst.bytes;
        const int result = runDialog(fd, inst, preview, [&](HWND d) {
            checkEqual(readouts(d, f), std::string(o.readouts), label + ": readouts");
            checkEqual(positions(d, f), std::string(o.positions), label + ": slider positions");
            if (!f.rgb) {  // the first slider message stores all three positions
                scroll(d, f.rows[2].slider, TB_ENDTRACK);
                checkEqual(params(inst), std::string(o.positions), label + ": first slider message stores them");
                checkEqual(redoCount(preview), 1, label + ": and redraws once");
            }
            click(d, IDCANCEL);
        });
        checkEqual(result, 1, label + ": Cancel returns 1");
        check(inst.bytes == before, label + ": Cancel restores every byte");
    }
}

void checkHelp(FilterDefinition* fd, const DialogFilter& f) {
    const std::string kind = f.kind;
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    helpCalls() = HelpCalls{};
    runDialog(fd, inst, preview, [&](HWND d) {
        checkEqual(callDialogProc(d, WM_COMMAND, 9, 0), INT_PTR{TRUE}, kind + " Help returns TRUE");
        checkEqual(callDialogProc(d, WM_COMMAND, IDCANCEL, 0), INT_PTR{TRUE}, kind + " Cancel returns TRUE");
    });
    const std::string path = helpPath(f);
    const HelpCalls& calls = helpCalls();
    checkEqual(calls.debugOutput.size(), std::size_t{2}, kind + " Help writes two debugger lines");
    if (calls.debugOutput.size() == 2) {
        checkEqual(calls.debugOutput[0], path, kind + " first debugger line is the help path");
        checkEqual(calls.debugOutput[1], std::string("\n"), kind + " second debugger line ends it");
    }
    checkEqual(calls.commandLines.size(), std::size_t{1}, kind + " Help starts one program");
    if (calls.commandLines.size() == 1) {
        checkEqual(calls.commandLines[0], "Notepad " + path, kind + " Help command line");
        checkEqual(calls.showModes[0], UINT{SW_SHOW}, kind + " Help shows Notepad's window");
    }
    checkEqual(redoCount(preview), 0, kind + " Help redraws nothing");
}

// Cancel after changes restores every byte; OK after the defaults scripts
// back as the defaults.
void checkCancelAndOk(FilterDefinition* fd, const DialogFilter& f) {
    const std::string kind = f.kind;
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    scriptConfig(fd, inst, 10, 20, 30);
    const std::vector<unsigned char> before = inst.bytes;
    int result = runDialog(fd, inst, preview, [&](HWND d) {
        perform(d, f, Track, 0, 250);
        perform(d, f, Position, 0, 250);
        perform(d, f, Default, 1, 0);
        perform(d, f, Linked, 0, 0);
        perform(d, f, LineDown, 2, 31);
        check(params(inst) != "10,20,30", kind + " the changes reached the instance");
        click(d, IDCANCEL);
    });
    checkEqual(result, 1, kind + " Cancel after changes returns 1");
    check(inst.bytes == before, kind + " Cancel after changes restores every byte of the instance data");

    result = runDialog(fd, inst, preview, [&](HWND d) {
        for (const SliderRow& r : f.rows)
            checkEqual(callDialogProc(d, WM_COMMAND, r.defaultButton, 0), INT_PTR{TRUE},
                       kind + " " + r.name + " default returns TRUE");
        click(d, IDOK);
    });
    checkEqual(result, 0, kind + " OK after the defaults returns 0");
    char text[64] = {};
    fd->fssProc(&inst.fa, nullptr, text, sizeof text);
    checkEqual(std::string(text),
               "Config(" + std::to_string(f.rows[0].defaultValue) + ", " + std::to_string(f.rows[1].defaultValue) +
                   ", " + std::to_string(f.rows[2].defaultValue) + ")",
               kind + " script string after all three defaults and OK");
}

// ---- YIQ and HSV: all three sliders re-read on every slider message -------

void checkRereadingSliders(FilterDefinition* fd, const DialogFilter& f) {
    // From the defaults (150, 0, 0), identical for both filters.
    const std::vector<Step> steps = {
        {Track, 1, 100, {150, 100, 0}, 1},
        {Track, 1, 200, {150, 200, 0}, 1},
        {Track, 1, 300, {150, 300, 0}, 1},
        {Position, 1, 300, {150, 300, 0}, 0},  // the drag's last step stored it already
        {End, 1, 0, {150, 300, 0}, 0},
        {LineDown, 0, 151, {151, 300, 0}, 1},
        {Quiet, 2, 77, {151, 300, 0}, 0},
        {End, 0, 0, {151, 300, 77}, 1},  // any slider's message stores all three
        {Default, 0, 0, {150, 300, 77}, 1},
        {Default, 0, 0, {150, 300, 77}, 1},  // already at its default: redrawn all the same
        {Quiet, 2, 5, {150, 300, 77}, 0},
        {Default, 1, 0, {150, 0, 77}, 1},  // moves no other slider's value in
        {End, 2, 0, {150, 0, 5}, 1},
        {Default, 2, 0, {150, 0, 0}, 1},
        {Linked, 0, 0, {150, 0, 0}, 0},
        {PageDown, 2, 10, {150, 0, 10}, 1},
        {Quiet, 2, 33, {150, 0, 10}, 0},
        {Foreign, 0, 0, {150, 0, 33}, 1},  // the sender is not examined
    };
    const std::string kind = f.kind;
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    const int result = runDialog(fd, inst, preview, [&](HWND d) {
        runSteps(d, f, inst, preview, steps, kind);
        checkEqual(positions(d, f), std::string("150,0,33"), kind + " sliders after the steps");
        checkEqual(IsDlgButtonChecked(d, kLinked), 1u, kind + " \"linked\" toggles as a plain check box");
        checkEqual(
            callDialogProc(d, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(GetDlgItem(d, f.rows[0].slider))),
            INT_PTR{FALSE}, kind + " a slider message returns FALSE");
        click(d, IDOK);
    });
    checkEqual(result, 0, kind + " OK after the steps returns 0");
    checkEqual(params(inst), std::string("150,0,33"), kind + " OK keeps the values");
}

// ---- RGB: linked sliders with drag references -----------------------------

struct LinkedCase {
    int before[3];
    Act act;
    int row, value;
    int after[3];
};

void checkLinkedExamples(FilterDefinition* fd, const DialogFilter& f) {
    const LinkedCase cases[] = {
        {{100, 50, 200}, LineDown, 0, 101, {101, 50, 201}},
        {{100, 50, 200}, LineUp, 0, 99, {99, 49, 198}},
        {{100, 50, 200}, Position, 0, 0, {0, 0, 100}},
        {{100, 0, 200}, Position, 0, 150, {150, 50, 250}},
        {{0, 100, 100}, PageDown, 1, 120, {20, 120, 120}},
        {{200, 100, 50}, Position, 1, 80, {160, 80, 40}},
        {{120, 60, 30}, Position, 2, 45, {180, 90, 45}},
        {{100, 50, 200}, Track, 0, 150, {150, 75, 300}},  // a drag begins
    };
    for (const LinkedCase& c : cases) {
        FakePreview preview;
        HostInstance inst(fd);
        fd->initProc(&inst.fa, nullptr);
        scriptConfig(fd, inst, c.before[0], c.before[1], c.before[2]);
        runDialog(fd, inst, preview, [&](HWND d) {
            const std::vector<Step> step = {{c.act, c.row, c.value, {c.after[0], c.after[1], c.after[2]}, 1}};
            runSteps(d, f, inst, preview, step, "rgb linked from " + triple(c.before[0], c.before[1], c.before[2]));
            checkEqual(positions(d, f), triple(c.after[0], c.after[1], c.after[2]), "rgb linked: sliders follow");
            click(d, IDCANCEL);
        });
    }
}

void checkDragAndArrows(FilterDefinition* fd, const DialogFilter& f) {
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    scriptConfig(fd, inst, 100, 50, 200);
    const int result = runDialog(fd, inst, preview, [&](HWND d) {
        runSteps(d, f, inst, preview,
                 {{Track, 0, 150, {150, 75, 300}, 1},
                  {Track, 0, 180, {180, 89, 300}, 1},
                  {Track, 0, 100, {100, 50, 200}, 1},  // blue comes back from 300
                  {Position, 0, 100, {100, 50, 200}, 1},
                  {End, 0, 0, {100, 50, 200}, 1}},
                 "rgb drag");
        checkEqual(dragState(inst), std::string("refs 100,50,200 linked 1 tracking 0 wasTracking 0"),
                   "rgb after the drag");

        std::vector<Step> arrows;
        for (int i = 1; i <= 5; ++i) {
            arrows.push_back({LineDown, 0, 100 + i, {100 + i, 50, 200 + i}, 1});
            arrows.push_back({End, 0, 0, {100 + i, 50, 200 + i}, 1});
        }
        runSteps(d, f, inst, preview, arrows, "rgb right arrow");

        // A drag step from a control that is no slider: references taken, no gain moved.
        const int redo = redoCount(preview);
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 77), reinterpret_cast<LPARAM>(GetDlgItem(d, 1013)));
        checkEqual(params(inst), std::string("105,50,205"), "rgb scroll from a readout moves no gain");
        checkEqual(dragState(inst), std::string("refs 105,50,205 linked 1 tracking 1 wasTracking 1"),
                   "rgb scroll from a readout still tracks the drag");
        scroll(d, IDOK, TB_ENDTRACK);
        checkEqual(dragState(inst), std::string("refs 105,50,205 linked 1 tracking 0 wasTracking 0"),
                   "rgb scroll from a button ends the drag");
        checkEqual(redoCount(preview) - redo, 0, "rgb scrolls from other controls redraw nothing");
        checkEqual(callDialogProc(d, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(GetDlgItem(d, 1006))),
                   INT_PTR{FALSE}, "rgb slider message returns FALSE");
        checkEqual(redoCount(preview) - redo, 1, "rgb every slider message redraws");
        click(d, IDOK);
    });
    checkEqual(result, 0, "rgb OK returns 0");
    checkEqual(params(inst), std::string("105,50,205"), "rgb OK keeps the gains");
    checkEqual(dragState(inst), std::string("refs 105,50,205 linked 1 tracking 0 wasTracking 0"),
               "rgb OK keeps the drag state");
}

void checkUnlinked(FilterDefinition* fd, const DialogFilter& f) {
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    scriptConfig(fd, inst, 100, 50, 200);
    const std::vector<unsigned char> before = inst.bytes;
    int result = runDialog(fd, inst, preview, [&](HWND d) {
        runSteps(d, f, inst, preview,
                 {{Linked, 0, 0, {100, 50, 200}, 0},
                  {Position, 0, 150, {150, 50, 200}, 1},
                  {Track, 1, 90, {150, 90, 200}, 1},
                  {Position, 1, 90, {150, 90, 200}, 1},
                  {Foreign, 0, 0, {150, 90, 200}, 0}},
                 "rgb unlinked");
        checkEqual(IsDlgButtonChecked(d, kLinked), 0u, "rgb \"linked\" unchecked by a click");
        const std::string state = dragState(inst);
        checkEqual(state, std::string("refs 150,50,200 linked 0 tracking 0 wasTracking 0"), "rgb unlinked state");
        runSteps(d, f, inst, preview, {{Default, 2, 0, {150, 90, 0}, 1}}, "rgb unlinked");
        checkEqual(positions(d, f), std::string("150,90,0"), "rgb blue default moves only the blue slider");
        checkEqual(dragState(inst), state, "rgb default leaves references and flags alone");

        // Only a click notification changes the flag.
        command(d, kLinked, BN_DOUBLECLICKED);
        checkEqual(dragState(inst), state, "rgb \"linked\" ignores other notifications");
        SendDlgItemMessageA(d, kLinked, BM_SETCHECK, BST_CHECKED, 0);
        checkEqual(callDialogProc(d, WM_COMMAND, MAKEWPARAM(kLinked, BN_CLICKED), 0), INT_PTR{FALSE},
                   "rgb \"linked\" returns FALSE");
        checkEqual(dragState(inst), std::string("refs 150,50,200 linked 1 tracking 0 wasTracking 0"),
                   "rgb \"linked\" read back from the box");
        runSteps(d, f, inst, preview, {{Default, 1, 0, {150, 0, 0}, 1}}, "rgb linked again");
        click(d, IDCANCEL);
    });
    checkEqual(result, 1, "rgb Cancel returns 1");
    check(inst.bytes == before, "rgb Cancel restores gains, references and flags");

    // Unchecking "linked" and cancelling leaves it set.
    result = runDialog(fd, inst, preview, [&](HWND d) {
        click(d, kLinked);
        check(dragState(inst).find("linked 0") != std::string::npos, "rgb \"linked\" cleared in the dialog");
        click(d, IDCANCEL);
    });
    checkEqual(result, 1, "rgb Cancel after unchecking \"linked\" returns 1");
    check(inst.bytes == before, "rgb Cancel after unchecking \"linked\" restores it");
}

}  // namespace

void checkDialogBehaviour(FilterDefinition* fd, const DialogFilter& f, bool helpIntercepted) {
    checkOpening(fd, f);
    checkOutOfRange(fd, f);
    checkCancelAndOk(fd, f);
    if (f.rgb) {
        checkLinkedExamples(fd, f);
        checkDragAndArrows(fd, f);
        checkUnlinked(fd, f);
    } else {
        checkRereadingSliders(fd, f);
    }
    if (check(helpIntercepted, std::string(f.kind) + " imports WinExec and OutputDebugStringA from kernel32"))
        checkHelp(fd, f);
}

bool screenshotDialog(FilterDefinition* fd, const char* bmpPath) {
    FakePreview preview;
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    bool saved = false;
    runDialog(fd, inst, preview, [&](HWND d) {
        saved = saveWindowBmp(d, bmpPath);
        click(d, IDCANCEL);
    });
    return saved;
}

}  // namespace sorvel::test
