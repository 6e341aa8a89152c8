// The host protocol, checked the same way by the Windows test host and by
// the PE test host: registration with the host's version numbers, the
// filter definition, init, start, end, Config and the script string.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frame/host_abi.h"

namespace sorvel::test {

using ModuleInit = int(SORVEL_PLUGIN_CALL*)(FilterModule*, const FilterFunctions*, int&, int&);
using ModuleDeinit = void(SORVEL_PLUGIN_CALL*)(FilterModule*, const FilterFunctions*);

// A loaded library's two exports and its module handle.
struct ModuleEntries {
    ModuleInit init;
    ModuleDeinit deinit;
    HINSTANCE instance;
};

// What a filter registers.
struct Expected {
    const char* kind;  // yiq, rgb or hsv
    const char* name;
    const char* desc;
    int instanceSize;
    std::int32_t defaults[3];
};

// The filter of that kind, or nullptr.
const Expected* expectedFilter(const char* kind);

void checkRegistration(const ModuleEntries& entries);
// Registers the filter for the remaining checks and returns its definition.
FilterDefinition* registerFilter(const ModuleEntries& entries, FilterModule& module);
void checkDefinition(const FilterDefinition* fd, const Expected& e);
void checkLifecycle(FilterDefinition* fd, const Expected& e, bool rgb);

// One line of the expectations file: "FILTER A B C HASH" for a rendered
// frame, or "yiqfactors HASH".
struct Expectation {
    std::string tag;
    int a = 0, b = 0, c = 0;
    std::uint64_t hash = 0;
};

std::vector<Expectation> readExpectations(const char* path);

}  // namespace sorvel::test
