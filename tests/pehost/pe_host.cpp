// The PE test host: loads a shipped plug-in library with its own PE loader
// (no Windows, no Wine), speaks the host protocol to it and checks its
// frames against the native core, through the kernel the CPU gives it.
//
//   pe_host LIBRARY.vdf yiq|rgb|hsv EXPECTATIONS.txt sse2|avx2
//
// Run natively or under qemu-user with a chosen CPU model. The library picks
// its kernel by CPUID: with sse2 this CPU must have no AVX (an AVX
// instruction then ends the run with a signal: qemu raises SIGILL), with
// avx2 it must have AVX2 and the library must be seen to run 256-bit code.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "common/cube_frame.h"
#include "common/parameter_grid.h"
#include "core/kernel.h"
#include "pehost/cpu_state.h"
#include "pehost/pe_image.h"
#include "pehost/plugin_call.h"
#include "pehost/win_imports.h"
#include "winhost/checks.h"
#include "winhost/host_instance.h"
#include "winhost/protocol_checks.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;
using sorvel::test::Expectation;
using sorvel::test::HostInstance;

std::uint64_t expectedHash(const std::vector<Expectation>& expectations, const std::string& tag, int a, int b, int c) {
    for (const Expectation& e : expectations)
        if (e.tag == tag && e.a == a && e.b == b && e.c == c) return e.hash;
    check(false,
          "an expectation for " + tag + " " + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c));
    return 0;
}

// The bitmap layouts a host hands over: rows top-down with a plain pitch,
// bottom-up with a negative pitch, rows padded to a longer pitch, and the
// source rendered in place.
enum class Layout { topDown, bottomUp, padded, inPlace };
constexpr Layout kLayouts[] = {Layout::topDown, Layout::bottomUp, Layout::padded, Layout::inPlace};
const char* layoutName(Layout l) {
    switch (l) {
        case Layout::topDown: return "top-down";
        case Layout::bottomUp: return "bottom-up";
        case Layout::padded: return "padded rows";
        case Layout::inPlace: return "in place";
    }
    return "?";
}

constexpr std::uint32_t kPadding = 0xA5C3E1F7u;

// Renders the frame (width x height, rows in order) in the layout and
// returns the hash of the output rows in order; padding must stay as it was.
std::uint64_t renderIn(Layout layout, FilterDefinition* fd, HostInstance& inst, const std::vector<std::uint32_t>& frame,
                       int width, int height, int call, const std::string& label) {
    const int rowWords = layout == Layout::padded ? width + 3 : width;
    std::vector<std::uint32_t> src(static_cast<std::size_t>(rowWords) * height, kPadding);
    const auto row = [&](int y) { return layout == Layout::bottomUp ? height - 1 - y : y; };
    for (int y = 0; y < height; ++y)
        std::memcpy(&src[static_cast<std::size_t>(row(y)) * rowWords], &frame[static_cast<std::size_t>(y) * width],
                    4 * static_cast<std::size_t>(width));
    std::vector<std::uint32_t> dst = layout == Layout::inPlace ? std::vector<std::uint32_t>{} : src;
    std::uint32_t* out = layout == Layout::inPlace ? src.data() : dst.data();
    const std::ptrdiff_t pitch = (layout == Layout::bottomUp ? -4 : 4) * static_cast<std::ptrdiff_t>(rowWords);
    const std::size_t firstRow = layout == Layout::bottomUp ? static_cast<std::size_t>(height - 1) * rowWords : 0;
    inst.src.data = src.data() + firstRow;
    inst.src.w = width;
    inst.src.h = height;
    inst.src.pitch = pitch;
    inst.dst.data = out + firstRow;
    inst.dst.w = 1;  // the destination's own size must not be consulted
    inst.dst.h = 1;
    inst.dst.pitch = pitch;
    checkEqual(sorvel::pe::callRun(fd->runProc, &inst.fa, call), 0, label + ": run returns 0");
    sorvel::test::FrameHash h;
    bool paddingKept = true;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* r = out + static_cast<std::size_t>(row(y)) * rowWords;
        h.add(r, width);
        for (int x = width; x < rowWords; ++x) paddingKept = paddingKept && r[x] == kPadding;
    }
    check(paddingKept, label + ": the padding of the rows is left alone");
    return h.value();
}

// Every parameter set of the grid on the sample frame, in the layouts given,
// half of the renders under a hostile floating-point state, each call (on
// 32-bit) with the stack aligned to 4 bytes only.
template <std::size_t N>
void checkGrid(FilterDefinition* fd, const char* kind, const std::vector<Expectation>& expectations,
               const std::string& where, const Layout (&layouts)[N]) {
    const std::vector<std::uint32_t> sample = sorvel::test::sampleFrame();
    const sorvel::pe::FloatState normal = sorvel::pe::floatState();
    const sorvel::pe::FloatState hostile = sorvel::pe::hostileFloatState(normal);
    int call = 0;
    for (const sorvel::test::FilterRun& r : sorvel::test::kGrid) {
        if (std::strcmp(sorvel::test::filterName(r.filter), kind) != 0) continue;
        const std::uint64_t expected = expectedHash(expectations, std::string("sample:") + kind, r.a, r.b, r.c);
        HostInstance inst(fd);
        fd->initProc(&inst.fa, nullptr);
        sorvel::pe::callConfig(fd, inst.fa, r.a, r.b, r.c, call++);
        for (Layout layout : layouts) {
            const std::string label = where + describe(r) + " " + layoutName(layout);
            const bool hostileHost = (call++ % 2) == 0;
            const sorvel::pe::FloatState before = hostileHost ? hostile : normal;
            sorvel::pe::setFloatState(before);
            const std::uint64_t got = renderIn(layout, fd, inst, sample, sorvel::test::kSampleWidth,
                                               sorvel::test::kSampleHeight, call, label);
            const sorvel::pe::FloatState after = sorvel::pe::floatState();
            sorvel::pe::setFloatState(normal);
            checkEqual(got, expected,
                       label + (hostileHost ? " under a hostile float state" : "") + ": equals the native core");
            check(after == before, label + ": the host's x87 control word and MXCSR are left as found");
        }
    }
}

// Every colour at the default and at one strong setting, top-down.
void checkEveryColour(FilterDefinition* fd, const char* kind, const std::vector<Expectation>& expectations,
                      bool expectAvx2) {
    const struct {
        const char* kind;
        int sets[2][3];
    } kFull[] = {
        {"yiq", {{150, 0, 0}, {150, 300, 300}}},
        {"rgb", {{0, 0, 0}, {300, 150, 0}}},
        {"hsv", {{150, 0, 0}, {300, 300, 300}}},
    };
    const std::vector<std::uint32_t> cube = sorvel::test::cubeFrame();
    for (const auto& f : kFull) {
        if (std::strcmp(f.kind, kind) != 0) continue;
        for (const auto& p : f.sets) {
            const std::string label = std::string(kind) + "(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) +
                                      ", " + std::to_string(p[2]) + ") every colour";
            HostInstance inst(fd);
            fd->initProc(&inst.fa, nullptr);
            sorvel::pe::callConfig(fd, inst.fa, p[0], p[1], p[2], 0);
            if (expectAvx2) sorvel::pe::markVectorUppers();
            const std::uint64_t got = renderIn(Layout::topDown, fd, inst, cube, sorvel::test::kCubeSide,
                                               sorvel::test::kCubeSide, 0, label);
            if (expectAvx2)
                check(sorvel::pe::vectorUppersCleared(), label + ": the AVX2 kernel ran (256-bit registers used)");
            checkEqual(got, expectedHash(expectations, kind, p[0], p[1], p[2]), label + ": equals the native core");
        }
    }
}

sorvel::test::ModuleEntries entriesOf(const sorvel::pe::Image& image) {
    using sorvel::pe::exportedAddress;
    return {reinterpret_cast<sorvel::test::ModuleInit>(exportedAddress(image, "VirtualdubFilterModuleInit2")),
            reinterpret_cast<sorvel::test::ModuleDeinit>(exportedAddress(image, "VirtualdubFilterModuleDeinit")),
            image.base};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || (std::strcmp(argv[4], "sse2") != 0 && std::strcmp(argv[4], "avx2") != 0)) {
        std::fprintf(stderr, "usage: pe_host LIBRARY.vdf yiq|rgb|hsv EXPECTATIONS.txt sse2|avx2\n");
        return 2;
    }
    const char* kind = argv[2];
    const sorvel::test::Expected* expected = sorvel::test::expectedFilter(kind);
    if (!expected) {
        std::fprintf(stderr, "unknown filter kind %s\n", kind);
        return 2;
    }
    const bool expectAvx2 = std::strcmp(argv[4], "avx2") == 0;
    const bool cpuHasAvx2 = sorvel::cpuRuns(sorvel::Kernel::avx2);
    if (expectAvx2 != cpuHasAvx2) {
        std::printf("FAIL this CPU %s AVX2, so the library cannot be expected to choose %s\n",
                    cpuHasAvx2 ? "has" : "does not have", argv[4]);
        return 1;
    }
    const std::vector<Expectation> expectations = sorvel::test::readExpectations(argv[3]);
    try {
        // At the image base: the whole protocol and every colour.
        using sorvel::pe::Base;
        const sorvel::pe::Image atBase = sorvel::pe::load(argv[1], Base::preferred, sorvel::pe::resolveImport);
        check(atBase.base == reinterpret_cast<unsigned char*>(atBase.preferredBase), "loaded at the image base");
        const sorvel::test::ModuleEntries entries = entriesOf(atBase);
        sorvel::test::checkRegistration(entries);
        FilterModule module{};
        if (FilterDefinition* fd = sorvel::test::registerFilter(entries, module)) {
            sorvel::test::checkDefinition(fd, *expected);
            sorvel::test::checkLifecycle(fd, *expected, std::strcmp(kind, "rgb") == 0);
            checkEveryColour(fd, kind, expectations, expectAvx2);
            checkGrid(fd, kind, expectations, "", kLayouts);
        } else {
            check(false, "registration for the remaining checks");
        }

        // A second copy elsewhere, the first one gone: relocated, it must
        // render the same.
        sorvel::pe::unloadKeepingGuard(atBase);
        const sorvel::pe::Image moved = sorvel::pe::load(argv[1], Base::other, sorvel::pe::resolveImport);
        check(moved.base != atBase.base && moved.relocationsApplied > 0, "a second copy relocated elsewhere");
        FilterModule movedModule{};
        if (FilterDefinition* fd = sorvel::test::registerFilter(entriesOf(moved), movedModule)) {
            sorvel::test::checkDefinition(fd, *expected);
            const Layout plain[] = {Layout::topDown, Layout::inPlace};
            checkGrid(fd, kind, expectations, "relocated: ", plain);
        } else {
            check(false, "registration of the relocated copy");
        }
    } catch (const std::exception& e) {
        check(false, std::string("loading ") + argv[1] + ": " + e.what());
    }
    return sorvel::test::report((std::string(kind) + " " + argv[4]).c_str());
}
