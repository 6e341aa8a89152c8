// The library's entry point. The libraries have no constructors, thread-local
// data or exit handlers to run, so they are linked without the C runtime's
// start-up code and the loader calls this instead: nothing to set up.
#include <windows.h>

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID) { return TRUE; }
