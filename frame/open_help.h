// Opens a filter's help file in Notepad.
#pragma once

namespace sorvel::frame {

// helpPath is relative to the folder of the host's executable, such as
// "plugins\sorvelYIQ.txt". Starts nothing when the path cannot be found
// or would not fit the command line; never reports anything.
void openHelp(const char* helpPath);

}  // namespace sorvel::frame
