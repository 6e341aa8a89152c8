#include "winhost/protocol_checks.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "winhost/checks.h"
#include "winhost/host_instance.h"

namespace sorvel::test {
namespace {

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

SORVEL_PLUGIN_CALL FilterDefinition* hostAddFilter(FilterModule* module, FilterDefinition* fd, int size) {
    ++host.addCalls;
    host.module = module;
    host.definition = fd;
    host.definitionSize = size;
    if (host.refuse) return nullptr;
    host.handle = *fd;
    host.handle.module = module;
    return &host.handle;
}

SORVEL_PLUGIN_CALL void hostRemoveFilter(FilterDefinition* fd) {
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

constexpr Expected kExpected[] = {
    {"yiq",
     "Video Sorvel (YIQ) v1.0",
     "Adjust intensity, saturation, and color balance.",
     kPointer32 ? 16 : 24,
     {150, 0, 0}},
    {"rgb", "Video Sorvel (RGB) v1.0", "Adjust color saturation", kPointer32 ? 32 : 40, {0, 0, 0}},
    {"hsv",
     "Video Sorvel (saturation/value) v1.0",
     "Adjust hue, saturation, value.",
     kPointer32 ? 16 : 24,
     {150, 0, 0}},
};

}  // namespace

const Expected* expectedFilter(const char* kind) {
    for (const Expected& e : kExpected)
        if (std::strcmp(e.kind, kind) == 0) return &e;
    return nullptr;
}

namespace {

std::string scriptString(FilterDefinition* fd, HostInstance& inst, int length = 256) {
    std::vector<char> buf(300, '#');
    const bool ok = fd->fssProc(&inst.fa, nullptr, buf.data(), length);
    check(ok, "script-string procedure returns true");
    return std::string(buf.data(), strnlen(buf.data(), buf.size()));
}

}  // namespace

void checkRegistration(const ModuleEntries& entries) {
    const ModuleInit init = entries.init;
    const ModuleDeinit deinit = entries.deinit;
    if (!check(init && deinit, "both module entry points are exported")) return;

    FilterModule module{};
    module.hInstModule = entries.instance;
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
    checkEqual(version, kFilterDefinitionVersion, "filter definition version");
    checkEqual(compatible, kFilterDefinitionCompatible, "compatible version");
    checkEqual(host.addCalls, 1, "addFilter called once");
    check(host.module == &module, "addFilter receives the module");
    checkEqual(host.definitionSize, static_cast<int>(22 * sizeof(void*)), "addFilter receives the definition size");

    deinit(&module, &ff);
    checkEqual(host.removeCalls, 1, "removeFilter called once at unload");
    check(host.removed == &host.handle, "removeFilter receives the handle addFilter returned");
}

// Registers the filter for the remaining checks and returns its definition.
FilterDefinition* registerFilter(const ModuleEntries& entries, FilterModule& module) {
    const ModuleInit init = entries.init;
    module.hInstModule = entries.instance;
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
    check(!fd->stringProc2 && !fd->serializeProc && !fd->deserializeProc && !fd->copyProc, "words 19 to 22 are null");
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
    for (int i = 0; i < 3; ++i)
        checkEqual(inst.word(i), e.defaults[i], "default of parameter " + std::to_string(i + 1));
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
        scriptConfig(fd, inst, r.a, r.b, r.c);
        checkEqual(inst.word(0), r.a, "Config stores argument 0");
        checkEqual(inst.word(1), r.b, "Config stores argument 1");
        checkEqual(inst.word(2), r.c, "Config stores argument 2");
        checkEqual(scriptString(fd, inst), std::string(r.text), "script string round trip");
    }
    scriptConfig(fd, inst, 150, 0, 0);
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

}  // namespace sorvel::test
