// Reads a file's version resource through the Windows version API, as
// Explorer's Properties > Details does, and compares the fixed file and
// product versions and each named string with the expected values:
//   versioninfo.exe FILE MAJOR.MINOR.PATCH Name=Value...
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "winhost/checks.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;

std::string stringValue(const std::vector<char>& block, const std::string& name) {
    const std::string path = "\\StringFileInfo\\040904B0\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || !value) return "<missing>";
    return std::string(static_cast<const char*>(value));
}

std::string dotted(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
           std::to_string(LOWORD(low));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: versioninfo FILE VERSION Name=Value...\n");
        return 2;
    }
    const char* file = argv[1];
    const DWORD size = GetFileVersionInfoSizeA(file, nullptr);
    if (!check(size != 0, std::string("version resource in ") + file)) return sorvel::test::report(file);
    std::vector<char> block(size);
    check(GetFileVersionInfoA(file, 0, size, block.data()) != 0, "GetFileVersionInfoA");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (check(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) && fixed,
              "fixed file info")) {
        const std::string expected = std::string(argv[2]) + ".0";
        checkEqual(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), expected, "file version");
        checkEqual(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), expected, "product version");
    }
    for (int i = 3; i < argc; ++i) {
        const std::string pair = argv[i];
        const std::size_t eq = pair.find('=');
        if (!check(eq != std::string::npos, "argument " + pair)) continue;
        const std::string name = pair.substr(0, eq);
        const std::string value = stringValue(block, name);
        checkEqual(value, pair.substr(eq + 1), name);
        std::printf("%s: %s\n", name.c_str(), value.c_str());
    }
    return sorvel::test::report(file);
}
