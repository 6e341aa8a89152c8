// The controls of a configuration dialog as the filters' dialog logic sees
// them: addressed by control id, with no window-system types. The Windows
// dialog procedure implements this over the real controls; tests implement
// it over plain data.
#pragma once

#include <cstdint>

namespace sorvel::dialog {

// Ids shared by the three dialog templates.
enum CommonId : int {
    kOk = 1,
    kCancel = 2,
    kShowPreview = 3,
    kHelp = 9,
    kLinked = 1018,
};

// Slider range and tick spacing of every parameter slider.
constexpr int kSliderMin = 0;
constexpr int kSliderMax = 300;
constexpr int kSliderTicks = 10;

class Controls {
public:
    // Range kSliderMin..kSliderMax and tick frequency kSliderTicks, then the
    // position, each with redraw.
    virtual void setUpSlider(int id, std::int32_t position) = 0;
    virtual int sliderPosition(int id) = 0;
    virtual void moveSlider(int id, std::int32_t position) = 0;  // with redraw
    // A readout showing the number as an unsigned 32-bit decimal.
    virtual void showUnsigned(int id, std::uint32_t value) = 0;
    virtual void showText(int id, const char* text) = 0;
    virtual void setChecked(int id, bool checked) = 0;
    // The check box state as the window system answers it: 0 unchecked,
    // 1 checked, 2 indeterminate, anything else for a control that is no
    // check box.
    virtual unsigned checkState(int id) = 0;

protected:
    ~Controls() = default;
};

// What a filter's share of a dialog message asks of the frame.
struct Outcome {
    bool handled = false;  // the message was the filter's
    bool redraw = false;   // the preview renders again, once
    bool result = false;   // the value returned to the dialog manager
};

}  // namespace sorvel::dialog
