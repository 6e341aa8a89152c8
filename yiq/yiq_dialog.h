// Which slider, readout and "default" button of the YIQ dialog belong to
// which parameter, in the order the dialog handles them.
#pragma once

#include "frame/portable/instance.h"
#include "frame/portable/plain_sliders.h"
#include "yiq/yiq_transform.h"

namespace sorvel::yiq {

inline dialog::SliderRows sliderRows(YiqInstance& inst) {
    return {{
        {1000, 1013, 1003, kDefaults.balance, &inst.balance},        // bottom row, "I" to "Q"
        {1002, 1014, 1005, kDefaults.intensity, &inst.intensity},    // top row
        {1008, 1015, 1004, kDefaults.saturation, &inst.saturation},  // middle row
    }};
}

}  // namespace sorvel::yiq
