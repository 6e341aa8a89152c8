// End-to-end checks of a plug-in's configuration dialog in real windows:
// the layout of template 101 as the dialog manager built it, and the
// behaviour of sliders, readouts and buttons against the instance data and
// the preview calls.
#pragma once

#include <windows.h>

#include "frame/host_abi.h"

namespace sorvel::test {

// One slider row of a dialog: its controls and the value its "default"
// button restores.
struct SliderRow {
    const char* name;
    int slider, readout, defaultButton;
    int defaultValue;
};

// Row i edits parameter i + 1; the rows are in the order the dialog sets
// them up at initialisation.
struct DialogFilter {
    const char* kind;  // "yiq", "rgb" or "hsv"
    const char* helpFile;
    bool rgb;
    SliderRow rows[3];
};

const DialogFilter* dialogFilter(const char* kind);

// Template 101 as created: caption, styles, size and every control.
void checkDialogLayout(FilterDefinition* fd, HMODULE library, const DialogFilter& f);

// Sliders, readouts, buttons, preview calls, OK, Cancel and Help.
void checkDialogBehaviour(FilterDefinition* fd, const DialogFilter& f, bool helpIntercepted);

// Opens the dialog with the defaults and saves its picture as a BMP file.
bool screenshotDialog(FilterDefinition* fd, const char* bmpPath);

}  // namespace sorvel::test
