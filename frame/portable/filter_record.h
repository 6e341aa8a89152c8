// What a filter is called and what its parameters mean, as every host shows
// it. Each filter's values come from the record in its folder (yiq/yiq.json
// ...), from which the build makes the header "<kind>_record.h".
#pragma once

#include <cstdint>

namespace sorvel {

struct ParameterRecord {
    const char* name;         // as frei0r and the editors label it
    const char* commandName;  // as the command line spells it: lower case
    std::int32_t defaultValue;
    std::int32_t minimum, maximum;  // the dialog's range
    const char* brief;              // one line, true on the dialog's and the editors' scale
    const char* explanation;        // longer, on the dialog's scale
};

struct FilterRecord {
    const char* title;              // the host's title, with the version
    const char* editorTitle;        // the title without its version, for frei0r and the editors
    const char* description;        // the host's short description
    const char* summary;            // what the filter does, in a user's words
    const char* library;            // the plug-in file
    const char* helpPath;           // the help file, relative to the host's folder
    ParameterRecord parameters[3];  // in the order of the script line Config(a, b, c)
};

}  // namespace sorvel
