// What the loaded libraries' imports are bound to: small implementations of
// the C runtime functions they call while filtering, and for every other
// import a stub that ends the test with the import's name.
#pragma once

#include <string>

namespace sorvel::pe {

void* resolveImport(const std::string& dll, const std::string& name);

}  // namespace sorvel::pe
