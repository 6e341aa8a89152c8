// The dialog procedure the three filters share: the instance data in the
// window's user-data slot, OK, Cancel, Show preview and Help, and the
// preview redraw after every change. The filter type F supplies its share:
//   static constexpr const char* helpFile;   relative to the host's folder
//   static void initControls(dialog::Controls&, Instance&);
//   static dialog::Outcome scroll(dialog::Controls&, Instance&, int sender, int code, int position);
//   static dialog::Outcome command(dialog::Controls&, Instance&, int id, int notification);
#pragma once

#include <windows.h>

#include "frame/host_abi.h"
#include "frame/open_help.h"
#include "frame/portable/dialog_controls.h"
#include "frame/window_controls.h"

namespace sorvel::frame {

// The host's preview, or nothing when the host passed none.
class Preview {
public:
    explicit Preview(void* preview) : preview_(static_cast<IFilterPreview*>(preview)) {}
    void initButton(HWND button) const {
        if (preview_) preview_->InitButton(button);
    }
    void toggle(HWND dialog) const {
        if (preview_) preview_->Toggle(dialog);
    }
    void redoFrame() const {
        if (preview_) preview_->RedoFrame();
    }

private:
    IFilterPreview* preview_;
};

template <class F>
INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    using Instance = typename F::Instance;
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    // Messages before WM_INITDIALOG find the slot still empty.
    auto* inst = reinterpret_cast<Instance*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (inst == nullptr) return FALSE;
    WindowControls controls(dialog);
    const Preview preview(inst->preview);

    switch (message) {
        case WM_INITDIALOG:
            F::initControls(controls, *inst);
            preview.initButton(GetDlgItem(dialog, dialog::kShowPreview));
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            switch (id) {
                case dialog::kOk: EndDialog(dialog, 0); return TRUE;
                case dialog::kCancel: EndDialog(dialog, 1); return TRUE;
                case dialog::kShowPreview: preview.toggle(dialog); return FALSE;
                case dialog::kHelp: openHelp(F::helpFile); return TRUE;
                default: break;
            }
            const dialog::Outcome out = F::command(controls, *inst, id, HIWORD(wParam));
            if (out.redraw) preview.redoFrame();
            return out.result ? TRUE : FALSE;
        }
        case WM_HSCROLL: {
            // The control that sent it, if it is one of this dialog's.
            HWND sender = reinterpret_cast<HWND>(lParam);
            const int senderId = sender != nullptr && GetParent(sender) == dialog ? GetDlgCtrlID(sender) : 0;
            const dialog::Outcome out = F::scroll(controls, *inst, senderId, LOWORD(wParam), HIWORD(wParam));
            if (out.redraw) preview.redoFrame();
            return FALSE;
        }
        default: return FALSE;
    }
}

}  // namespace sorvel::frame
