#include "frame/open_help.h"

#include <windows.h>

#include "frame/portable/help_command.h"

namespace sorvel::frame {

void openHelp(const char* helpPath) {
    using dialog::kHelpBufferSize;
    char hostPath[kHelpBufferSize];
    // The process's main module: the host, not this library.
    const DWORD hostLength = GetModuleFileNameA(nullptr, hostPath, kHelpBufferSize - 1);
    if (hostLength == 0 || hostLength >= kHelpBufferSize - 1) return;
    hostPath[hostLength] = '\0';

    char fullPath[kHelpBufferSize];
    char* fileName = nullptr;
    const DWORD fullLength = GetFullPathNameA(hostPath, kHelpBufferSize - 1, fullPath, &fileName);
    if (fullLength == 0 || fullLength >= kHelpBufferSize - 1 || fileName == nullptr) return;

    dialog::HelpCommand help;
    if (!dialog::buildHelpCommand(fullPath, static_cast<std::size_t>(fileName - fullPath), helpPath, help)) return;
    OutputDebugStringA(help.path);
    OutputDebugStringA("\n");
    WinExec(help.command, SW_SHOW);
}

}  // namespace sorvel::frame
