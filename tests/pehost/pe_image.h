// Loads a PE DLL of this process's bitness into memory the way Windows does:
// headers and sections mapped at the image base or elsewhere, base
// relocations applied, imports bound, sections given their protections,
// TLS callbacks and the entry point run.
#pragma once

#include <cstdint>
#include <string>

namespace sorvel::pe {

// The address an import is bound to, given its DLL and function name.
using ImportResolver = void* (*)(const std::string& dll, const std::string& name);

enum class Base { preferred, other };

struct Image {
    unsigned char* base = nullptr;
    std::uintptr_t preferredBase = 0;
    std::uint32_t size = 0;
    int relocationsApplied = 0;
    int tlsCallbacksRun = 0;
};

// Throws std::runtime_error with the reason when the file is not a DLL this
// process can load or its entry point fails.
Image load(const std::string& path, Base where, ImportResolver resolve);

// Unmaps the image and leaves its addresses inaccessible, so that a copy
// loaded later that still points there (an address not relocated) faults.
void unloadKeepingGuard(const Image& image);

// The exported function's address, or nullptr.
void* exportedAddress(const Image& image, const std::string& name);

}  // namespace sorvel::pe
