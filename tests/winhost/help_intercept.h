// Catches what a plug-in hands to WinExec and OutputDebugStringA, so that
// its Help button can be pressed without starting Notepad: the library's
// import address table entries for both kernel32 functions are pointed at
// recorders in this program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sorvel::test {

struct HelpCalls {
    std::vector<std::string> debugOutput;   // each OutputDebugStringA text
    std::vector<std::string> commandLines;  // each WinExec command line
    std::vector<UINT> showModes;
};

HelpCalls& helpCalls();

// Patches the library's imports of WinExec and OutputDebugStringA. Returns
// false unless both were found and patched; the library then must not be
// asked to open its help file.
bool interceptHelp(HMODULE library);

}  // namespace sorvel::test
