// Loads the built frei0r libraries the way a host does (dlopen, the f0r_
// functions looked up by name) and checks what they report and render.
#include <dlfcn.h>
#include <gtest/gtest.h>

extern "C" {
#include <frei0r.h>
}

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "frei0r/tests/expected_frames.h"
#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "sorvel_version.h"
#include "yiq/yiq_transform.h"

namespace {

using sorvel::frei0r::test::mixedFrame;

struct Plugin {
    void* handle = nullptr;
    int (*init)() = nullptr;
    void (*deinit)() = nullptr;
    void (*pluginInfo)(f0r_plugin_info_t*) = nullptr;
    void (*paramInfo)(f0r_param_info_t*, int) = nullptr;
    f0r_instance_t (*construct)(unsigned, unsigned) = nullptr;
    void (*destruct)(f0r_instance_t) = nullptr;
    void (*setParam)(f0r_instance_t, f0r_param_t, int) = nullptr;
    void (*getParam)(f0r_instance_t, f0r_param_t, int) = nullptr;
    void (*update)(f0r_instance_t, double, const uint32_t*, uint32_t*) = nullptr;
};

template <class Fn>
void lookUp(void* handle, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(handle, name));
    ASSERT_NE(fn, nullptr) << name;
}

void load(const std::string& kind, Plugin& p) {
    const std::string path = std::string(SORVEL_FREI0R_PLUGIN_DIR) + "/sorvel_" + kind + ".so";
    p.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    // Libraries are loaded once, before any thread of the suite starts.
    ASSERT_NE(p.handle, nullptr) << dlerror();  // NOLINT(concurrency-mt-unsafe)
    lookUp(p.handle, "f0r_init", p.init);
    lookUp(p.handle, "f0r_deinit", p.deinit);
    lookUp(p.handle, "f0r_get_plugin_info", p.pluginInfo);
    lookUp(p.handle, "f0r_get_param_info", p.paramInfo);
    lookUp(p.handle, "f0r_construct", p.construct);
    lookUp(p.handle, "f0r_destruct", p.destruct);
    lookUp(p.handle, "f0r_set_param_value", p.setParam);
    lookUp(p.handle, "f0r_get_param_value", p.getParam);
    lookUp(p.handle, "f0r_update", p.update);
}

struct Expected {
    const char* kind;
    const sorvel::FilterRecord& record;  // the texts the library must report
    double defaults[3];
};

const Expected kPlugins[] = {
    {"yiq", sorvel::yiq::kRecord, {0.5, 0, 0}},
    {"rgb", sorvel::rgb::kRecord, {0, 0, 0}},
    {"hsv", sorvel::hsv::kRecord, {0.5, 0, 0}},
};

// The three libraries stay loaded together for the whole suite, as in a
// host that offers all of them.
class Frei0rLibraries : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < 3; ++i) {
            load(kPlugins[i].kind, plugins_[i]);
            if (plugins_[i].init) {
                EXPECT_EQ(plugins_[i].init(), 1);
            }
        }
    }
    static void TearDownTestSuite() {
        for (Plugin& p : plugins_) {
            if (p.deinit) p.deinit();
            if (p.handle) dlclose(p.handle);
        }
    }
    void SetUp() override {
        for (const Plugin& p : plugins_) ASSERT_NE(p.update, nullptr) << "a library did not load";
    }
    static Plugin plugins_[3];
};

Plugin Frei0rLibraries::plugins_[3];

TEST_F(Frei0rLibraries, PluginInfo) {
    for (int i = 0; i < 3; ++i) {
        f0r_plugin_info_t info{};
        plugins_[i].pluginInfo(&info);
        EXPECT_STREQ(info.name, kPlugins[i].record.editorTitle);
        // The Windows host's title, without the version it carries there.
        EXPECT_EQ(std::string(info.name) + " v1.0", kPlugins[i].record.title);
        EXPECT_STREQ(info.author, "Vornak Software");
        EXPECT_STREQ(info.explanation, kPlugins[i].record.summary);
        EXPECT_EQ(info.plugin_type, F0R_PLUGIN_TYPE_FILTER);
        EXPECT_EQ(info.color_model, F0R_COLOR_MODEL_BGRA8888);
        EXPECT_EQ(info.frei0r_version, 1);
        EXPECT_EQ(info.major_version, SORVEL_VERSION_MAJOR);
        EXPECT_EQ(info.minor_version, SORVEL_VERSION_MINOR);
        EXPECT_EQ(info.num_params, 3);
    }
}

TEST_F(Frei0rLibraries, ParameterInfo) {
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            f0r_param_info_t info{};
            plugins_[i].paramInfo(&info, k);
            EXPECT_STREQ(info.name, kPlugins[i].record.parameters[k].name);
            EXPECT_EQ(info.type, F0R_PARAM_DOUBLE);
            EXPECT_STREQ(info.explanation, kPlugins[i].record.parameters[k].brief);
        }
        for (const int bad : {-1, 3, 1000}) {
            f0r_param_info_t info{"untouched", 99, nullptr};
            plugins_[i].paramInfo(&info, bad);
            EXPECT_STREQ(info.name, "untouched");
            EXPECT_EQ(info.type, 99);
        }
    }
}

TEST_F(Frei0rLibraries, DefaultsAndParameterValues) {
    for (int i = 0; i < 3; ++i) {
        const Plugin& p = plugins_[i];
        f0r_instance_t inst = p.construct(16, 8);
        ASSERT_NE(inst, nullptr);
        for (int k = 0; k < 3; ++k) {
            double value = -1;
            p.getParam(inst, &value, k);
            EXPECT_EQ(value, kPlugins[i].defaults[k]) << kPlugins[i].kind << " " << k;
        }
        // A value is kept as its slider position and read back as position / 300.
        const double set[3] = {0.37, -4.0, 1.2};
        const double read[3] = {111 / 300.0, 0.0, 1.0};
        for (int k = 0; k < 3; ++k) {
            double v = set[k];
            p.setParam(inst, &v, k);
        }
        for (int k = 0; k < 3; ++k) {
            double value = -1;
            p.getParam(inst, &value, k);
            EXPECT_EQ(value, read[k]);
        }
        double untouched = -7;
        p.getParam(inst, &untouched, 3);
        EXPECT_EQ(untouched, -7);
        p.setParam(inst, nullptr, 0);
        p.getParam(inst, nullptr, 0);
        p.destruct(inst);
    }
}

std::vector<std::uint32_t> expected(const std::string& kind, const int pos[3], const std::vector<std::uint32_t>& in) {
    using sorvel::frei0r::test::expectedFrame;
    namespace s = sorvel;
    if (kind == "yiq") return expectedFrame<s::yiq::Coefficients>(s::yiq::Params{pos[0], pos[1], pos[2]}, in);
    if (kind == "rgb") return expectedFrame<s::rgb::Coefficients>(s::rgb::Params{pos[0], pos[1], pos[2]}, in);
    return expectedFrame<s::hsv::Coefficients>(s::hsv::Params{pos[0], pos[1], pos[2]}, in);
}

TEST_F(Frei0rLibraries, FramesMatchTheCoreWithAlphaKept) {
    const double fractions[3] = {0.2, 0.7, 0.9};
    const int positions[3] = {60, 210, 270};
    for (int i = 0; i < 3; ++i) {
        const Plugin& p = plugins_[i];
        for (const auto& size : {std::pair{24u, 10u}, std::pair{13u, 7u}, std::pair{640u, 360u}}) {
            f0r_instance_t inst = p.construct(size.first, size.second);
            ASSERT_NE(inst, nullptr);
            for (int k = 0; k < 3; ++k) {
                double v = fractions[k];
                p.setParam(inst, &v, k);
            }
            const auto in = mixedFrame(std::size_t{size.first} * size.second, 0x2545F491u);
            std::vector<std::uint32_t> out(in.size());
            p.update(inst, 1.5, in.data(), out.data());
            EXPECT_EQ(out, expected(kPlugins[i].kind, positions, in)) << kPlugins[i].kind;
            p.destruct(inst);
        }
    }
}

// Several instances of several filters, each on its own thread at once,
// each giving the output of its own parameters.
TEST_F(Frei0rLibraries, InstancesRunConcurrently) {
    const int positions[4][3] = {{10, 290, 150}, {300, 0, 77}, {150, 150, 150}, {0, 300, 300}};
    const unsigned w = 64, h = 48;
    const auto in = mixedFrame(std::size_t{w} * h, 0x1234567u);
    std::vector<std::vector<std::uint32_t>> outs(6);
    std::vector<std::thread> threads;
    threads.reserve(6);
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            const Plugin& p = plugins_[t % 3];
            f0r_instance_t inst = p.construct(w, h);
            for (int k = 0; k < 3; ++k) {
                double v = positions[t % 4][k] / 300.0;
                p.setParam(inst, &v, k);
            }
            outs[t].resize(in.size());
            for (int round = 0; round < 20; ++round) p.update(inst, round, in.data(), outs[t].data());
            p.destruct(inst);
        });
    }
    for (auto& th : threads) th.join();
    for (int t = 0; t < 6; ++t) {
        EXPECT_EQ(outs[t], expected(kPlugins[t % 3].kind, positions[t % 4], in)) << "thread " << t;
    }
}

TEST_F(Frei0rLibraries, RefusesSizesItCannotAddress) {
    for (const Plugin& p : plugins_) {
        EXPECT_EQ(p.construct(0x20000000u, 1), nullptr);
        EXPECT_EQ(p.construct(1, 0x80000000u), nullptr);
        p.destruct(nullptr);
        p.update(nullptr, 0, nullptr, nullptr);
    }
}

}  // namespace
