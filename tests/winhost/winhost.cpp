// A stand-in for the host: loads one plug-in library, drives it through the
// filter interface the way the host does, and checks every answer.
//
//   winhost PLUGIN.vdf yiq|rgb|hsv EXPECTATIONS.txt
//
// Exit status 0 when every check passed; each failure is printed.
#include <windows.h>
#include <xmmintrin.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/cube_frame.h"
#include "common/yiq_factor_hash.h"
#include "frame/host_abi.h"
#include "winhost/checks.h"
#include "winhost/config_checks.h"
#include "winhost/host_instance.h"
#include "winhost/protocol_checks.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;

using sorvel::test::Expectation;
using sorvel::test::HostInstance;

void runConfig(FilterDefinition* fd, HostInstance& inst, int a, int b, int c) {
    sorvel::test::scriptConfig(fd, inst, a, b, c);
}

template <class Fn>
Fn entryPoint(HMODULE lib, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

// Renders the cube frame three ways (separate top-down buffers, bottom-up
// bitmaps with negative pitch, in place) and compares each with the hash
// the native core gave.
void checkFrames(FilterDefinition* fd, const char* kind, const std::vector<Expectation>& expectations) {
    const std::vector<std::uint32_t> cube = sorvel::test::cubeFrame();
    const int side = sorvel::test::kCubeSide;
    const std::ptrdiff_t pitch = side * 4;
    std::vector<std::uint32_t> out(cube.size()), flipped(cube.size()), work;
    for (int y = 0; y < side; ++y)
        std::memcpy(&flipped[static_cast<std::size_t>(side - 1 - y) * side], &cube[static_cast<std::size_t>(y) * side],
                    pitch);

    int runs = 0;
    for (const Expectation& e : expectations) {
        if (e.tag != kind) continue;
        ++runs;
        const int a = e.a, b = e.b, c = e.c;
        const std::uint64_t expected = e.hash;
        const std::string label = std::string(kind) + " " + std::to_string(a) + "," + std::to_string(b) + "," +
                                  std::to_string(c);
        HostInstance inst(fd);
        fd->initProc(&inst.fa, nullptr);
        runConfig(fd, inst, a, b, c);

        auto render = [&](const std::uint32_t* srcFirstRow, std::uint32_t* dstFirstRow, std::ptrdiff_t rowStep) {
            inst.src.data = const_cast<std::uint32_t*>(srcFirstRow);
            inst.src.w = side;
            inst.src.h = side;
            inst.src.pitch = rowStep;
            inst.dst.data = dstFirstRow;
            inst.dst.w = 1;  // the destination's own size must not be consulted
            inst.dst.h = 1;
            inst.dst.pitch = rowStep;
            return fd->runProc(&inst.fa, nullptr);
        };
        auto hashRows = [&](const std::uint32_t* firstRow, std::ptrdiff_t rowWords) {
            sorvel::test::FrameHash h;
            for (int y = 0; y < side; ++y) h.add(firstRow + y * rowWords, side);
            return h.value();
        };

        checkEqual(render(cube.data(), out.data(), pitch), 0, label + ": run returns 0");
        checkEqual(hashRows(out.data(), side), expected, label + ": top-down frame equals the native core");

        const std::uint32_t* bottomRow = &flipped[static_cast<std::size_t>(side - 1) * side];
        render(bottomRow, &out[static_cast<std::size_t>(side - 1) * side], -pitch);
        checkEqual(hashRows(&out[static_cast<std::size_t>(side - 1) * side], -side), expected,
                   label + ": bottom-up frame with negative pitch");

        work = cube;
        render(work.data(), work.data(), pitch);
        checkEqual(hashRows(work.data(), side), expected, label + ": in place");

        // A host that left rounding upward and subnormals flushed gets the
        // same frame, and its own settings back.
        const unsigned int hostCsr = _mm_getcsr();
        const unsigned int hostileCsr = (hostCsr & ~0x6000u) | 0x4000u | 0x8040u;
        _mm_setcsr(hostileCsr);
        render(cube.data(), out.data(), pitch);
        const unsigned int afterCsr = _mm_getcsr();
        _mm_setcsr(hostCsr);
        checkEqual(hashRows(out.data(), side), expected,
                   label + ": under the host's upward rounding and flush to zero");
        checkEqual(afterCsr, hostileCsr, label + ": the host's floating-point settings are restored");
    }
    check(runs > 0, std::string("expectations for ") + kind);

    // Empty frames leave the destination alone.
    HostInstance inst(fd);
    fd->initProc(&inst.fa, nullptr);
    std::uint32_t pixel = 0x00FF00FF, target = 0xDEADBEEF;
    for (int w : {0, 1}) {
        inst.src.data = &pixel;
        inst.src.w = w;
        inst.src.h = 1 - w;
        inst.src.pitch = 4;
        inst.dst.data = &target;
        inst.dst.pitch = 4;
        checkEqual(fd->runProc(&inst.fa, nullptr), 0, "empty frame: run returns 0");
        checkEqual(target, 0xDEADBEEFu, "empty frame leaves the destination untouched");
    }
}

// The YIQ balance factors come from pow: the Windows runtime must round them
// to the same singles as the native one over the whole dialog range.
void checkBalanceFactors(const std::vector<Expectation>& expectations) {
    for (const Expectation& e : expectations) {
        if (e.tag != "yiqfactors") continue;
        checkEqual(sorvel::test::yiqFactorHash(), e.hash, "YIQ balance factors over the dialog range");
        return;
    }
    check(false, "balance factor expectation");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: winhost PLUGIN.vdf yiq|rgb|hsv EXPECTATIONS.txt\n");
        return 2;
    }
    const sorvel::test::Expected* expected = sorvel::test::expectedFilter(argv[2]);
    if (!expected) {
        std::fprintf(stderr, "unknown filter kind %s\n", argv[2]);
        return 2;
    }
    HMODULE lib = LoadLibraryA(argv[1]);
    if (!lib) {
        std::fprintf(stderr, "FAIL cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    const bool rgb = std::strcmp(argv[2], "rgb") == 0;
    const sorvel::test::ModuleEntries entries{
        entryPoint<sorvel::test::ModuleInit>(lib, "VirtualdubFilterModuleInit2"),
        entryPoint<sorvel::test::ModuleDeinit>(lib, "VirtualdubFilterModuleDeinit"), lib};

    const std::vector<Expectation> expectations = sorvel::test::readExpectations(argv[3]);
    sorvel::test::checkRegistration(entries);
    FilterModule module{};
    if (FilterDefinition* fd = sorvel::test::registerFilter(entries, module)) {
        sorvel::test::checkDefinition(fd, *expected);
        sorvel::test::checkLifecycle(fd, *expected, rgb);
        sorvel::test::checkConfigDialog(fd, rgb);
        checkFrames(fd, argv[2], expectations);
    } else {
        check(false, "registration for the remaining checks");
    }
    if (std::strcmp(argv[2], "yiq") == 0) checkBalanceFactors(expectations);
    FreeLibrary(lib);
    return sorvel::test::report(argv[2]);
}
