#include "frame/portable/plain_sliders.h"

namespace sorvel::dialog {

void initPlainSliders(Controls& c, const SliderRows& rows) {
    for (const SliderRow& r : rows.row) {
        c.setUpSlider(r.slider, *r.parameter);
        c.showUnsigned(r.readout, static_cast<std::uint32_t>(*r.parameter));
    }
}

Outcome scrollPlainSliders(Controls& c, const SliderRows& rows) {
    int position[3];
    bool same = true;
    for (int i = 0; i < 3; ++i) {
        const SliderRow& r = rows.row[i];
        position[i] = c.sliderPosition(r.slider);
        c.showUnsigned(r.readout, static_cast<std::uint32_t>(position[i]));
        same = same && position[i] == *r.parameter;
    }
    if (same) return {true, false, false};
    for (int i = 0; i < 3; ++i) *rows.row[i].parameter = position[i];
    return {true, true, false};
}

Outcome commandPlainSliders(Controls& c, const SliderRows& rows, int id) {
    for (const SliderRow& r : rows.row) {
        if (r.defaultButton != id) continue;
        c.moveSlider(r.slider, r.defaultValue);
        c.showUnsigned(r.readout, static_cast<std::uint32_t>(r.defaultValue));
        *r.parameter = r.defaultValue;
        return {true, true, true};
    }
    return {};
}

}  // namespace sorvel::dialog
