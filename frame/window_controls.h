// The dialog logic's controls over a real dialog window: trackbars, edit
// readouts and the check box, addressed by id.
#pragma once

#include <windows.h>

#include "frame/portable/dialog_controls.h"

namespace sorvel::frame {

class WindowControls final : public dialog::Controls {
public:
    explicit WindowControls(HWND dialog) : dialog_(dialog) {}

    void setUpSlider(int id, std::int32_t position) override;
    int sliderPosition(int id) override;
    void moveSlider(int id, std::int32_t position) override;
    void showUnsigned(int id, std::uint32_t value) override;
    void showText(int id, const char* text) override;
    void setChecked(int id, bool checked) override;
    unsigned checkState(int id) override;

private:
    LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }

    HWND dialog_;
};

}  // namespace sorvel::frame
