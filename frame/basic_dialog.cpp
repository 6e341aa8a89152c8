#include "frame/basic_dialog.h"

namespace sorvel::frame {

INT_PTR CALLBACK basicDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, 0); return TRUE;
        case IDCANCEL: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace sorvel::frame
