// The command line that opens a filter's help file in Notepad.
#pragma once

#include <cstddef>

namespace sorvel::dialog {

// Both texts the help command needs fit in buffers of this size, with
// their terminating zero.
constexpr std::size_t kHelpBufferSize = 256;

struct HelpCommand {
    char path[kHelpBufferSize];     // the help file, as sent to the debugger
    char command[kHelpBufferSize];  // "Notepad " and the path, unquoted
};

// hostPath is the host executable's full path and fileNameOffset where its
// file-name part begins; helpPath is relative to the executable's folder,
// such as "plugins\sorvelYIQ.txt". Returns false, and writes nothing
// useful, when an offset lies beyond the path or the path or the command
// would exceed 255 characters.
bool buildHelpCommand(const char* hostPath, std::size_t fileNameOffset, const char* helpPath, HelpCommand& out);

}  // namespace sorvel::dialog
