#include "frame/module_entry.h"

namespace {

// The one piece of module-wide state: the handle addFilter returned.
FilterDefinition* registration = nullptr;

}  // namespace

extern "C" __declspec(dllexport) int __cdecl VirtualdubFilterModuleInit2(FilterModule* module,
                                                                         const FilterFunctions* ff, int& version,
                                                                         int& compatibleVersion) {
    registration = ff->addFilter(module, &sorvel::frame::moduleFilterDefinition(),
                                 static_cast<int>(sizeof(FilterDefinition)));
    if (!registration) return 1;
    compatibleVersion = kFilterDefinitionCompatible;
    version = kFilterDefinitionVersion;
    return 0;
}

extern "C" __declspec(dllexport) void __cdecl VirtualdubFilterModuleDeinit(FilterModule*, const FilterFunctions* ff) {
    // After a refused registration there is nothing to remove, and a host
    // need not accept a null handle.
    if (registration) ff->removeFilter(registration);
    registration = nullptr;
}
