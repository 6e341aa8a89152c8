#include "frame/portable/help_command.h"

#include <cstring>

namespace sorvel::dialog {

namespace {
constexpr char kNotepad[] = "Notepad ";
constexpr std::size_t kNotepadLength = sizeof kNotepad - 1;
}  // namespace

bool buildHelpCommand(const char* hostPath, std::size_t fileNameOffset, const char* helpPath, HelpCommand& out) {
    out.path[0] = '\0';
    out.command[0] = '\0';
    const std::size_t hostLength = std::strlen(hostPath);
    const std::size_t helpLength = std::strlen(helpPath);
    if (fileNameOffset > hostLength) return false;
    const std::size_t pathLength = fileNameOffset + helpLength;
    if (pathLength + kNotepadLength >= kHelpBufferSize) return false;

    std::memcpy(out.path, hostPath, fileNameOffset);
    std::memcpy(out.path + fileNameOffset, helpPath, helpLength + 1);
    std::memcpy(out.command, kNotepad, kNotepadLength);
    std::memcpy(out.command + kNotepadLength, out.path, pathLength + 1);
    return true;
}

}  // namespace sorvel::dialog
