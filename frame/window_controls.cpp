#include "frame/window_controls.h"

#include <commctrl.h>

namespace sorvel::frame {

void WindowControls::setUpSlider(int id, std::int32_t position) {
    send(id, TBM_SETRANGE, TRUE, MAKELONG(dialog::kSliderMin, dialog::kSliderMax));
    send(id, TBM_SETTICFREQ, dialog::kSliderTicks, 0);
    send(id, TBM_SETPOS, TRUE, position);
}

int WindowControls::sliderPosition(int id) { return static_cast<int>(send(id, TBM_GETPOS, 0, 0)); }

void WindowControls::moveSlider(int id, std::int32_t position) { send(id, TBM_SETPOS, TRUE, position); }

void WindowControls::showUnsigned(int id, std::uint32_t value) { SetDlgItemInt(dialog_, id, value, FALSE); }

void WindowControls::showText(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }

void WindowControls::setChecked(int id, bool checked) {
    send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

unsigned WindowControls::checkState(int id) { return IsDlgButtonChecked(dialog_, id); }

}  // namespace sorvel::frame
