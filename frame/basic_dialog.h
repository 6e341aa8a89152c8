// A dialog procedure with only OK (result 0) and Cancel (result 1).
#pragma once

#include <windows.h>

namespace sorvel::frame {

INT_PTR CALLBACK basicDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace sorvel::frame
