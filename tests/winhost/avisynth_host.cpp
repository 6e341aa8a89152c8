// The plug-in libraries in a real host: AviSynth+ loads them through its
// VirtualDub filter plug-in, and scripts apply them to clips whose every
// pixel this program chooses. Each output frame is compared with the core's
// scalar path applied to the same source frame.
//
//   avisynth_host AVISYNTH_DIR YIQ.vdf RGB.vdf SV.vdf
//
// AVISYNTH_DIR holds AviSynth.dll with the runtime DLLs it needs and
// plugins/VDubFilter.dll.
// Exit status 0 when every check passed; each failure is printed.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#define AVSC_NO_DECLSPEC
#if defined(__i386__)
#define AVSC_WIN32_GCC32  // the 32-bit GCC build's C interface is cdecl
#endif
#include <avisynth_c.h>

#include "common/cube_frame.h"
#include "common/filter_runs.h"
#include "winhost/checks.h"

namespace {

using sorvel::test::check;
using sorvel::test::checkEqual;
using sorvel::test::Filter;
using sorvel::test::FilterRun;

AVS_Library* avs = nullptr;

// ---- The clips: SorvelFrames(width, height, frames) -------------------------

struct ClipShape {
    int width, height, frames;
};

// Pixel x of memory row y in frame n. Consecutive pixels run through every
// colour in turn, each with a scrambled top byte, across rows and frames.
std::uint32_t sourcePixel(const ClipShape& s, int n, int y, int x) {
    const std::uint64_t index = (static_cast<std::uint64_t>(n) * s.height + y) * s.width + x;
    return sorvel::test::cubePixel(static_cast<std::uint32_t>(index));
}

std::vector<std::uint32_t> sourceFrame(const ClipShape& s, int n) {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(s.width) * s.height);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) frame[static_cast<std::size_t>(y) * s.width + x] = sourcePixel(s, n, y, x);
    return frame;
}

AVS_VideoFrame* AVSC_CC renderSource(AVS_FilterInfo* fi, int n) {
    const ClipShape shape{fi->vi.width, fi->vi.height, fi->vi.num_frames};
    AVS_VideoFrame* frame = avs->avs_new_video_frame_a(fi->env, &fi->vi, AVS_FRAME_ALIGN);
    BYTE* rows = avs->avs_get_write_ptr_p(frame, AVS_DEFAULT_PLANE);
    const int pitch = avs->avs_get_pitch_p(frame, AVS_DEFAULT_PLANE);
    for (int y = 0; y < shape.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * pitch);
        for (int x = 0; x < shape.width; ++x) row[x] = sourcePixel(shape, n, y, x);
    }
    return frame;
}

int AVSC_CC noParity(AVS_FilterInfo*, int) { return 0; }
int AVSC_CC noAudio(AVS_FilterInfo*, void*, int64_t, int64_t) { return 0; }
int AVSC_CC noCacheHints(AVS_FilterInfo*, int, int) { return 0; }

AVS_Value AVSC_CC makeSource(AVS_ScriptEnvironment* env, AVS_Value args, void*) {
    AVS_FilterInfo* fi = nullptr;
    AVS_Clip* clip = avs->avs_new_c_filter(env, &fi, avs_void, 0);
    fi->vi = AVS_VideoInfo{};
    fi->vi.width = avs_as_int(avs_array_elt(args, 0));
    fi->vi.height = avs_as_int(avs_array_elt(args, 1));
    fi->vi.num_frames = avs_as_int(avs_array_elt(args, 2));
    fi->vi.fps_numerator = 25;
    fi->vi.fps_denominator = 1;
    fi->vi.pixel_type = AVS_CS_BGR32;
    fi->get_frame = renderSource;
    fi->get_parity = noParity;
    fi->get_audio = noAudio;
    fi->set_cache_hints = noCacheHints;
    AVS_Value value;
    avs->avs_set_to_clip(&value, clip);
    avs->avs_release_clip(clip);
    return value;
}

// ---- Scripts --------------------------------------------------------------

// The script function each library is loaded as, and its preroll: each
// preroll takes another path through the host's out-of-order requests.
// The libraries come in this order on the command line.
struct Loaded {
    Filter filter;
    const char* function;
    int preroll;
};
const Loaded kLoaded[] = {
    {Filter::yiq, "SorvelYIQ", 0},
    {Filter::rgb, "SorvelRGB", 1},
    {Filter::hsv, "SorvelSV", 3},
};

std::string literal(std::int32_t v) {
    // The script's integers are read without a sign, and 2147483648 is no int.
    return v == INT_MIN ? "(-2147483647 - 1)" : std::to_string(v);
}

std::string scriptOf(const ClipShape& s, const std::vector<FilterRun>& chain, const std::string& tail) {
    std::string script = "SorvelFrames(" + std::to_string(s.width) + ", " + std::to_string(s.height) + ", " +
                         std::to_string(s.frames) + ")";
    for (const FilterRun& r : chain) {
        for (const Loaded& l : kLoaded)
            if (l.filter == r.filter) script += std::string(".") + l.function;
        script += "(" + literal(r.a) + ", " + literal(r.b) + ", " + literal(r.c) + ")";
    }
    return script + tail;
}

AVS_Value evaluate(AVS_ScriptEnvironment* env, const std::string& script) {
    AVS_Value text = avs_void;  // every field set, which avs_new_value_string leaves undone
    text.type = 's';
    text.d.string = script.c_str();
    return avs->avs_invoke(env, "Eval", text, nullptr);
}

// ---- Checks ---------------------------------------------------------------

// Compares frame n of the script's output with the chain applied by the
// core's scalar path to source frame n, pixel for pixel.
void checkFrame(AVS_Clip* clip, const ClipShape& s, const std::vector<FilterRun>& chain, int n,
                const std::string& label) {
    std::vector<std::uint32_t> expected = sourceFrame(s, n);
    const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(s.width) * 4;
    auto* bytes = reinterpret_cast<unsigned char*>(expected.data());
    for (const FilterRun& r : chain)
        sorvel::test::renderWith(sorvel::Kernel::scalar, r, {bytes, s.width, s.height, pitch}, {bytes, pitch});

    AVS_VideoFrame* frame = avs->avs_get_frame(clip, n);
    const std::string where = label + ", frame " + std::to_string(n);
    if (frame == nullptr) {
        const char* error = avs->avs_clip_get_error(clip);
        check(false, where + ": " + (error ? error : "no frame"));
        return;
    }
    const BYTE* rows = avs->avs_get_read_ptr_p(frame, AVS_DEFAULT_PLANE);
    const int outPitch = avs->avs_get_pitch_p(frame, AVS_DEFAULT_PLANE);
    long mismatches = 0;
    std::string first;
    for (int y = 0; y < s.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * outPitch);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t want = expected[static_cast<std::size_t>(y) * s.width + x];
            if (row[x] == want || mismatches++ > 0) continue;
            char text[96];
            std::snprintf(text, sizeof text, " (first at row %d, x %d: source %08x, got %08x, expected %08x)", y, x,
                          sourcePixel(s, n, y, x), row[x], want);
            first = text;
        }
    }
    checkEqual(mismatches, 0L, where + ": pixels that differ from the core" + first);
    avs->avs_release_video_frame(frame);
}

struct FrameCase {
    const char* what;
    ClipShape shape;
    std::vector<FilterRun> chain;
    const char* tail;        // appended to the script
    std::vector<int> order;  // frames in the order requested; empty for all in turn
};

void runCase(AVS_ScriptEnvironment* env, const FrameCase& c) {
    const std::string script = scriptOf(c.shape, c.chain, c.tail);
    AVS_Value value = evaluate(env, script);
    if (!check(avs_is_clip(value), script + ": " + (avs_is_error(value) ? avs_as_error(value) : "no clip"))) {
        avs->avs_release_value(value);
        return;
    }
    AVS_Clip* clip = avs->avs_take_clip(value, env);
    avs->avs_release_value(value);
    std::vector<int> order = c.order;
    if (order.empty())
        for (int n = 0; n < c.shape.frames; ++n) order.push_back(n);
    for (int n : order) checkFrame(clip, c.shape, c.chain, n, std::string(c.what) + ": " + script);
    avs->avs_release_clip(clip);
}

// Every colour once: 1023 x 256 pixels (odd width, rows padded by the host)
// in 65 frames.
constexpr ClipShape kAllColours{1023, 256, 65};
constexpr ClipShape kSmall{17, 9, 40};

std::vector<FrameCase> frameCases() {
    std::vector<FrameCase> cases;
    const FilterRun extremes[] = {
        {Filter::yiq, 150, 0, 0},    {Filter::yiq, 0, 300, 300},          {Filter::yiq, 300, 143, 144},
        {Filter::yiq, -5, 400, 0},   {Filter::yiq, INT_MIN, INT_MAX, -2}, {Filter::rgb, 0, 0, 0},
        {Filter::rgb, 300, 150, 28}, {Filter::rgb, -50, 1000, -145},      {Filter::rgb, INT_MIN, INT_MAX, -300},
        {Filter::hsv, 150, 0, 0},    {Filter::hsv, 300, 300, 300},        {Filter::hsv, 0, 150, 50},
        {Filter::hsv, -5, 400, 0},   {Filter::hsv, INT_MAX, -1, INT_MIN},
    };
    for (const FilterRun& r : extremes) cases.push_back({"every colour", kAllColours, {r}, "", {}});
    const std::vector<FilterRun> chain = {
        {Filter::yiq, 77, 143, 144}, {Filter::rgb, 28, 56, 299}, {Filter::hsv, 200, 100, 50}};
    const std::vector<int> shuffled = {5, 2, 9, 0, 9, 3, 39, 1, 38, 20};
    cases.push_back({"chain", kSmall, chain, "", {}});
    cases.push_back({"chain out of order", kSmall, chain, "", shuffled});
    cases.push_back({"single pixels", {1, 1, 3}, chain, "", {}});
    cases.push_back({"3 x 5", {3, 5, 3}, chain, "", {2, 0, 1}});
    cases.push_back({"threads", kAllColours, chain, ".Prefetch(4)", {}});
    cases.push_back({"threads out of order", kSmall, chain, ".Prefetch(3)", shuffled});
    return cases;
}

// Scripts the host must end with an error message.
void checkRefusals(AVS_ScriptEnvironment* env) {
    const struct {
        const char* what;
        const char* script;
    } refusals[] = {
        {"two arguments", "SorvelFrames(16, 8, 2).SorvelYIQ(150, 0)"},
        {"four arguments", "SorvelFrames(16, 8, 2).SorvelRGB(0, 0, 0, 0)"},
        {"a string argument", "SorvelFrames(16, 8, 2).SorvelSV(\"150\", 0, 0)"},
        {"a YV12 clip", "SorvelFrames(16, 8, 2).ConvertToYV12().SorvelYIQ(150, 0, 0)"},
        {"an RGB24 clip", "SorvelFrames(16, 8, 2).ConvertToRGB24().SorvelRGB(0, 0, 0)"},
        {"a YUY2 clip", "SorvelFrames(16, 8, 2).ConvertToYUY2().SorvelSV(150, 0, 0)"},
    };
    for (const auto& r : refusals) {
        AVS_Value value = evaluate(env, r.script);
        const char* message = avs_is_error(value) ? avs_as_error(value) : nullptr;
        if (check(message && *message, std::string(r.what) + ": the script ends with an error"))
            std::printf("%s: %s\n", r.what, message);
        avs->avs_release_value(value);
    }
}

std::string loadScript(char** paths) {
    std::string script = "LoadPlugin(\"" + std::string(paths[0]) + "/plugins/VDubFilter.dll\")\n";
    for (int i = 0; i < 3; ++i)
        script += "LoadVirtualdubPlugin(\"" + std::string(paths[i + 1]) + "\", \"" + kLoaded[i].function + "\", " +
                  std::to_string(kLoaded[i].preroll) + ")\n";
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: avisynth_host AVISYNTH_DIR YIQ.vdf RGB.vdf SV.vdf\n");
        return 2;
    }
    SetDllDirectoryA(argv[1]);
    avs = avs_load_library();
    if (!check(avs != nullptr, std::string("load AviSynth.dll from ") + argv[1]))
        return sorvel::test::report("avisynth");
    AVS_ScriptEnvironment* env = avs->avs_create_script_environment(AVISYNTH_INTERFACE_CLASSIC_VERSION);
    if (!check(env != nullptr, "script environment")) return sorvel::test::report("avisynth");
    avs->avs_add_function(env, "SorvelFrames", "iii", makeSource, nullptr);

    AVS_Value loaded = evaluate(env, loadScript(argv + 1));
    const bool ready = check(!avs_is_error(loaded),
                             std::string("load the libraries: ") + (avs_is_error(loaded) ? avs_as_error(loaded) : ""));
    avs->avs_release_value(loaded);
    if (ready) {
        checkRefusals(env);
        for (const FrameCase& c : frameCases()) runCase(env, c);
    }
    avs->avs_delete_script_environment(env);
    avs_free_library(avs);
    return sorvel::test::report("avisynth");
}
