// Saves what a window shows on the screen, frame included, as an
// uncompressed 24-bit bottom-up BMP file.
#pragma once

#include <windows.h>

namespace sorvel::test {

bool saveWindowBmp(HWND window, const char* path);

}  // namespace sorvel::test
