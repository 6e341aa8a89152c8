// Registration with a host that accepts every filter, for the test hosts
// that need a registered filter rather than a check of registration.
#pragma once

#include <windows.h>

#include "frame/host_abi.h"

namespace sorvel::test {

// Calls the library's module entry. Returns the host's copy of the filter
// definition (module set), or nullptr when the entry is missing or fails.
inline FilterDefinition* registerWithAcceptingHost(HMODULE lib) {
    static FilterModule module{};
    static FilterDefinition registered{};
    struct Host {
        static FilterDefinition* add(FilterModule* m, FilterDefinition* fd, int) {
            registered = *fd;
            registered.module = m;
            return &registered;
        }
        static void remove(FilterDefinition*) {}
    };
    auto init = reinterpret_cast<int(__cdecl*)(FilterModule*, const FilterFunctions*, int&, int&)>(
        reinterpret_cast<void*>(GetProcAddress(lib, "VirtualdubFilterModuleInit2")));
    module.hInstModule = lib;
    FilterFunctions ff{};
    ff.addFilter = Host::add;
    ff.removeFilter = Host::remove;
    int version = 0, compatible = 0;
    if (init == nullptr || init(&module, &ff, version, compatible) != 0) return nullptr;
    return &registered;
}

}  // namespace sorvel::test
