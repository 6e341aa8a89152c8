// Dialog controls kept as plain data: slider positions (held within the
// slider range, as a trackbar does), readout texts and the check box, with
// a count of the messages the dialog logic sent.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "frame/portable/dialog_controls.h"

namespace sorvel::test {

class FakeControls final : public dialog::Controls {
public:
    std::map<int, int> slider;
    std::map<int, std::string> readout;
    unsigned check = 0;
    int setUps = 0, moves = 0, reads = 0;

    void setUpSlider(int id, std::int32_t position) override {
        ++setUps;
        slider[id] = clamp(position);
    }
    int sliderPosition(int id) override {
        ++reads;
        return slider.at(id);
    }
    void moveSlider(int id, std::int32_t position) override {
        ++moves;
        slider[id] = clamp(position);
    }
    void showUnsigned(int id, std::uint32_t value) override { readout[id] = std::to_string(value); }
    void showText(int id, const char* text) override { readout[id] = text; }
    void setChecked(int id, bool checked) override {
        if (id == dialog::kLinked) check = checked ? 1 : 0;
    }
    unsigned checkState(int id) override { return id == dialog::kLinked ? check : 0; }

private:
    static int clamp(std::int32_t v) {
        return v < dialog::kSliderMin ? dialog::kSliderMin : v > dialog::kSliderMax ? dialog::kSliderMax : v;
    }
};

}  // namespace sorvel::test
