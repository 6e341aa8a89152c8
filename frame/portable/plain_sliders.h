// Dialog logic of the filters whose sliders stand each for one parameter,
// with no coupling between them (YIQ and HSV): every slider message copies
// all three slider positions into the parameters when any differs, and each
// "default" button puts its parameter back to a constant.
#pragma once

#include <cstdint>

#include "frame/portable/dialog_controls.h"

namespace sorvel::dialog {

struct SliderRow {
    int slider;
    int readout;
    int defaultButton;
    std::int32_t defaultValue;
    std::int32_t* parameter;
};

// The three rows in the order the dialog handles them.
struct SliderRows {
    SliderRow row[3];
};

// Sliders to the parameters, readouts showing the parameters as stored.
void initPlainSliders(Controls& c, const SliderRows& rows);

// Any slider message, whatever its code: readouts follow the slider
// positions, and the parameters take all three positions when one differs.
Outcome scrollPlainSliders(Controls& c, const SliderRows& rows);

// A command: a "default" button of one of the rows, or not the filter's.
Outcome commandPlainSliders(Controls& c, const SliderRows& rows, int id);

}  // namespace sorvel::dialog
