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
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/cube_frame.h"
#include "common/yiq_factor_hash.h"
#include "frame/host_abi.h"
#include "winhost/checks.h"
#include "winhost/host_instance.h"
#include "winhost/config_checks.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;

// ---- The host's services: addFilter and removeFilter ----------------------

struct HostRecord {
    bool refuse = false;
    int addCalls = 0;
    FilterModule* module = nullptr;
    FilterDefinition* definition = nullptr;
    int definitionSize = 0;
    FilterDefinition handle{};  // the host's copy; its address is the handle
    int removeCalls = 0;
    FilterDefinition* removed = nullptr;
} host;

FilterDefinition* hostAddFilter(FilterModule* module, FilterDefinition* fd, int size) {
    ++host.addCalls;
    host.module = module;
    host.definition = fd;
    host.definitionSize = size;
    if (host.refuse) return nullptr;
    host.handle = *fd;
    host.handle.module = module;
    return &host.handle;
}

void hostRemoveFilter(FilterDefinition* fd) {
    ++host.removeCalls;
    host.removed = fd;
}

FilterFunctions hostFunctions() {
    FilterFunctions ff{};
    ff.addFilter = hostAddFilter;
    ff.removeFilter = hostRemoveFilter;
    return ff;
}

// ---- What each filter should register -------------------------------------

constexpr bool kPointer32 = sizeof(void*) == 4;

struct Expected {
    const char* kind;
    const char* name;
    const char* desc;
    int instanceSize;
    std::int32_t defaults[3];
};

const Expected kExpected[] = {
    {"yiq", "Video Sorvel (YIQ) v1.0", "Adjust intensity, saturation, and color balance.", kPointer32 ? 16 : 24,
     {150, 0, 0}},
    {"rgb", "Video Sorvel (RGB) v1.0", "Adjust color saturation", kPointer32 ? 32 : 40, {0, 0, 0}},
    {"hsv", "Video Sorvel (saturation/value) v1.0", "Adjust hue, saturation, value.", kPointer32 ? 16 : 24,
     {150, 0, 0}},
};

using sorvel::test::HostInstance;
using sorvel::test::kFill;

void runConfig(FilterDefinition* fd, HostInstance& inst, int a, int b, int c) {
    sorvel::test::scriptConfig(fd, inst, a, b, c);
}

std::string scriptString(FilterDefinition* fd, HostInstance& inst, int length = 256) {
    std::vector<char> buf(300, '#');
    const bool ok = fd->fssProc(&inst.fa, nullptr, buf.data(), length);
    sorvel::test::check(ok, "script-string procedure returns true");
    return std::string(buf.data(), strnlen(buf.data(), buf.size()));
}

// ---- Checks ---------------------------------------------------------------

using ModuleInit = int(__cdecl*)(FilterModule*, const FilterFunctions*, int&, int&);
using ModuleDeinit = void(__cdecl*)(FilterModule*, const FilterFunctions*);

template <class Fn>
Fn entryPoint(HMODULE lib, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

void checkRegistration(HMODULE lib, const Expected& e) {
    auto init = entryPoint<ModuleInit>(lib, "VirtualdubFilterModuleInit2");
    auto deinit = entryPoint<ModuleDeinit>(lib, "VirtualdubFilterModuleDeinit");
    if (!check(init && deinit, "both module entry points are exported")) return;

    FilterModule module{};
    module.hInstModule = lib;
    const FilterFunctions ff = hostFunctions();

    // A host that refuses the registration.
    host = HostRecord{};
    host.refuse = true;
    int version = 1234, compatible = 5678;
    checkEqual(init(&module, &ff, version, compatible), 1, "refused registration returns 1");
    checkEqual(version, 1234, "refused registration leaves the version alone");
    checkEqual(compatible, 5678, "refused registration leaves the compatible version alone");
    deinit(&module, &ff);
    checkEqual(host.removeCalls, 0, "unloading after a refused registration removes nothing");

    host = HostRecord{};
    checkEqual(init(&module, &ff, version, compatible), 0, "accepted registration returns 0");
    checkEqual(version, 8, "filter definition version");
    checkEqual(compatible, 4, "compatible version");
    checkEqual(host.addCalls, 1, "addFilter called once");
    check(host.module == &module, "addFilter receives the module");
    checkEqual(host.definitionSize, static_cast<int>(22 * sizeof(void*)), "addFilter receives the definition size");

    deinit(&module, &ff);
    checkEqual(host.removeCalls, 1, "removeFilter called once at unload");
    check(host.removed == &host.handle, "removeFilter receives the handle addFilter returned");
    (void)e;
}

// Registers the filter for the remaining checks and returns its definition.
FilterDefinition* registerFilter(HMODULE lib, FilterModule& module) {
    auto init = entryPoint<ModuleInit>(lib, "VirtualdubFilterModuleInit2");
    static const FilterFunctions ff = hostFunctions();
    host = HostRecord{};
    int version = 0, compatible = 0;
    if (!init || init(&module, &ff, version, compatible) != 0) return nullptr;
    return &host.handle;
}

void checkDefinition(const FilterDefinition* fd, const Expected& e) {
    checkEqual(std::string(fd->name ? fd->name : ""), std::string(e.name), "name");
    checkEqual(std::string(fd->desc ? fd->desc : ""), std::string(e.desc), "desc");
    checkEqual(std::string(fd->maker ? fd->maker : ""), std::string("Vornak Software"), "maker");
    checkEqual(fd->inst_data_size, e.instanceSize, "inst_data_size");
    check(fd->private_data == nullptr, "private_data is null");
    check(fd->initProc && fd->runProc && fd->configProc && fd->stringProc, "init, run, config, string procedures");
    check(fd->startProc && fd->endProc && fd->fssProc && fd->script_obj, "start, end, script string, script object");
    check(!fd->deinitProc && !fd->paramProc, "no deinit or param procedure");
    check(!fd->stringProc2 && !fd->serializeProc && !fd->deserializeProc && !fd->copyProc,
          "words 19 to 22 are null");
    const CScriptObject* so = fd->script_obj;
    if (!so) return;
    check(!so->Lookup && !so->obj_list, "script object has only a function list");
    const ScriptFunctionDef* f = so->func_list;
    if (!check(f != nullptr, "function list")) return;
    check(f[0].func_ptr != nullptr, "Config function");
    checkEqual(std::string(f[0].name ? f[0].name : ""), std::string("Config"), "script function name");
    checkEqual(std::string(f[0].arg_list ? f[0].arg_list : ""), std::string("0iii"), "script signature");
    check(!f[1].func_ptr && !f[1].name && !f[1].arg_list, "function list ends with an all-null row");
}

void checkLifecycle(FilterDefinition* fd, const Expected& e, bool rgb) {
    HostInstance inst(fd);
    checkEqual(fd->initProc(&inst.fa, nullptr), 0, "init returns 0");
    for (int i = 0; i < 3; ++i) checkEqual(inst.word(i), e.defaults[i], "default of parameter " + std::to_string(i + 1));
    const std::vector<unsigned char> fill(sizeof(void*), kFill);
    check(std::memcmp(inst.bytes.data(), fill.data(), sizeof(void*)) == 0, "init leaves the preview word alone");
    if (rgb) {
        for (int i = 3; i < 6; ++i) checkEqual(inst.word(i), -1, "drag reference " + std::to_string(i - 2));
        const unsigned char* flags = inst.bytes.data() + sizeof(void*) + 24;
        checkEqual(int{flags[0]}, 1, "linked set");
        checkEqual(int{flags[1]}, 0, "tracking clear");
        checkEqual(int{flags[2]}, 0, "wasTracking clear");
    }
    checkEqual(fd->startProc(&inst.fa, nullptr), 0, "start returns 0");
    checkEqual(fd->endProc(&inst.fa, nullptr), 0, "end returns 0");

    char listText[64];
    std::memset(listText, '#', sizeof listText);
    fd->stringProc(&inst.fa, nullptr, listText);
    check(listText[0] == '#' && listText[63] == '#', "string procedure writes nothing");

    const std::string defaults = "Config(" + std::to_string(e.defaults[0]) + ", " + std::to_string(e.defaults[1]) +
                                 ", " + std::to_string(e.defaults[2]) + ")";
    checkEqual(scriptString(fd, inst), defaults, "script string of the defaults");

    const struct {
        int a, b, c;
        const char* text;
    } rows[] = {
        {150, 0, 0, "Config(150, 0, 0)"},
        {-5, 400, 0, "Config(-5, 400, 0)"},
        {300, 300, 300, "Config(300, 300, 300)"},
        {INT32_MIN, INT32_MAX, 7, "Config(-2147483648, 2147483647, 7)"},
    };
    for (const auto& r : rows) {
        runConfig(fd, inst, r.a, r.b, r.c);
        checkEqual(inst.word(0), r.a, "Config stores argument 0");
        checkEqual(inst.word(1), r.b, "Config stores argument 1");
        checkEqual(inst.word(2), r.c, "Config stores argument 2");
        checkEqual(scriptString(fd, inst), std::string(r.text), "script string round trip");
    }
    runConfig(fd, inst, 150, 0, 0);
    checkEqual(scriptString(fd, inst, 8), std::string("Config("), "a short buffer gets a terminated prefix");
    std::vector<char> untouched(8, '#');
    fd->fssProc(&inst.fa, nullptr, untouched.data(), 0);
    check(untouched[0] == '#', "a buffer length of 0 is left untouched");
    if (rgb) {
        const unsigned char* flags = inst.bytes.data() + sizeof(void*) + 24;
        checkEqual(int{flags[0]}, 1, "Config leaves linked alone");
        checkEqual(inst.word(3), -1, "Config leaves the drag references alone");
    }
}

// One line of the expectations file: "FILTER A B C HASH" for a rendered
// frame, or "yiqfactors HASH".
struct Expectation {
    std::string tag;
    int a = 0, b = 0, c = 0;
    std::uint64_t hash = 0;
};

std::vector<Expectation> readExpectations(const char* path) {
    std::vector<Expectation> lines;
    std::ifstream in(path);
    check(in.good(), std::string("expectations file ") + path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Expectation e;
        fields >> e.tag;
        if (e.tag != "yiqfactors") fields >> e.a >> e.b >> e.c;
        fields >> std::hex >> e.hash;
        if (check(!fields.fail(), "expectation line: " + line)) lines.push_back(e);
    }
    return lines;
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
        std::memcpy(&flipped[static_cast<std::size_t>(side - 1 - y) * side], &cube[static_cast<std::size_t>(y) * side], pitch);

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
        checkEqual(hashRows(out.data(), side), expected, label + ": under the host's upward rounding and flush to zero");
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
    const Expected* expected = nullptr;
    for (const Expected& e : kExpected)
        if (std::strcmp(e.kind, argv[2]) == 0) expected = &e;
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

    const std::vector<Expectation> expectations = readExpectations(argv[3]);
    checkRegistration(lib, *expected);
    FilterModule module{};
    module.hInstModule = lib;
    if (FilterDefinition* fd = registerFilter(lib, module)) {
        checkDefinition(fd, *expected);
        checkLifecycle(fd, *expected, rgb);
        sorvel::test::checkConfigDialog(fd, rgb);
        checkFrames(fd, argv[2], expectations);
    } else {
        check(false, "registration for the remaining checks");
    }
    if (std::strcmp(argv[2], "yiq") == 0) checkBalanceFactors(expectations);
    FreeLibrary(lib);
    return sorvel::test::report(argv[2]);
}
