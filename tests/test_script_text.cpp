#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "frame/portable/instance.h"
#include "frame/portable/script_text.h"

namespace sorvel {
namespace {

TEST(ScriptText, FullText) {
    const struct {
        std::int32_t a, b, c;
        const char* text;
    } rows[] = {
        {150, 0, 0, "Config(150, 0, 0)"},
        {-5, 400, 0, "Config(-5, 400, 0)"},
        {300, 300, 300, "Config(300, 300, 300)"},
        {INT_MIN, INT_MAX, -1, "Config(-2147483648, 2147483647, -1)"},
    };
    for (const auto& r : rows) {
        char buf[128];
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(formatConfigScript(buf, sizeof buf, r.a, r.b, r.c), static_cast<int>(std::strlen(r.text)));
        EXPECT_STREQ(buf, r.text);
    }
}

TEST(ScriptText, BoundedByTheBufferLength) {
    const std::string full = "Config(150, 0, 0)";  // 17 characters
    for (int length = -2; length <= 24; ++length) {
        char buf[32];
        std::memset(buf, '#', sizeof buf);
        formatConfigScript(buf, length, 150, 0, 0);
        const int kept = length <= 0 ? 0 : std::min(length - 1, static_cast<int>(full.size()));
        if (length > 0) {
            EXPECT_EQ(std::string(buf, static_cast<std::size_t>(kept)), full.substr(0, static_cast<std::size_t>(kept)));
            EXPECT_EQ(buf[kept], '\0') << length;
        }
        const int firstUntouched = length <= 0 ? 0 : kept + 1;
        for (int i = firstUntouched; i < 32; ++i) ASSERT_EQ(buf[i], '#') << "length " << length << " byte " << i;
    }
}

// A new instance, its bytes left as the host found them, saves the filter's
// defaults as its script line.
template <class Instance>
std::string newInstanceScript() {
    Instance inst;
    std::memset(&inst, 0x5A, sizeof inst);
    initInstance(inst);
    const ScriptParameters p = scriptParameters(inst);
    char buf[64];
    formatConfigScript(buf, sizeof buf, *p.at[0], *p.at[1], *p.at[2]);
    return buf;
}

TEST(ScriptText, NewInstancesSaveTheDefaults) {
    EXPECT_EQ(newInstanceScript<YiqInstance>(), "Config(150, 0, 0)");
    EXPECT_EQ(newInstanceScript<RgbInstance>(), "Config(0, 0, 0)");
    EXPECT_EQ(newInstanceScript<HsvInstance>(), "Config(150, 0, 0)");
}

}  // namespace
}  // namespace sorvel
