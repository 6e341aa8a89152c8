// Which slider, readout and "default" button of the HSV dialog belong to
// which parameter, in the order the dialog handles them (top to bottom).
#pragma once

#include "frame/portable/instance.h"
#include "frame/portable/plain_sliders.h"
#include "hsv/hsv_transform.h"

namespace sorvel::hsv {

inline dialog::SliderRows sliderRows(HsvInstance& inst) {
    return {{
        {1000, 1013, 1003, kDefaults.hue, &inst.hue},
        {1001, 1014, 1004, kDefaults.saturation, &inst.saturation},
        {1008, 1015, 1005, kDefaults.value, &inst.value},
    }};
}

}  // namespace sorvel::hsv
