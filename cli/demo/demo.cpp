#include "cli/demo/demo.h"

#include <cctype>

#include "cli/demo/test_image.h"
#include "cli/grading/filters.h"
#include "frame/portable/script_text.h"

namespace sorvel::cli {

const std::vector<DemoSetting>& demoSettings() {
    // clang-format off
    static const std::vector<DemoSetting> settings{
        {nullptr, {0, 0, 0}, "the generated test picture"},
        {"yiq", {150, 300, 0}, "intensity 300: brighter"},
        {"yiq", {150, 0, 300}, "saturation 300: richer"},
        {"yiq", {0, 0, 300}, "balance 0: purple-green"},
        {"yiq", {300, 0, 300}, "balance 300: orange-blue"},
        {"rgb", {300, 0, 0}, "red 300"},
        {"rgb", {0, 150, 300}, "green 150, blue 300"},
        {"rgb", {200, 200, 200}, "all three 200"},
        {"hsv", {300, 0, 0}, "hue 300: half a turn"},
        {"hsv", {200, 0, 0}, "hue 200: a sixth of a turn"},
        {"hsv", {150, 300, 0}, "saturation 300"},
        {"hsv", {150, 0, 300}, "value 300"},
    };
    // clang-format on
    return settings;
}

const SheetSpec& demoSheetSpec() {
    static const SheetSpec grid{4, kTestImageWidth, kTestImageHeight, 2, 2, 16, 16};
    return grid;
}

std::string demoTitle(const DemoSetting& setting) {
    if (setting.filter == nullptr) return "Original";
    std::string name = setting.filter;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    char script[64];
    formatConfigScript(script, sizeof script, setting.parameters[0], setting.parameters[1], setting.parameters[2]);
    return name + "  " + script;
}

Image renderDemoSheet() {
    const Image picture = makeTestImage();
    const std::vector<DemoSetting>& settings = demoSettings();
    std::vector<Image> rendered;
    rendered.reserve(settings.size());
    for (const DemoSetting& s : settings) {
        Image out = picture;
        if (s.filter != nullptr)
            applyChain({FilterStep{findFilter(s.filter), s.parameters}}, picture.pixels.data(), out.pixels.data(),
                       picture.width, picture.height);
        rendered.push_back(std::move(out));
    }
    std::vector<SheetTile> tiles;
    for (std::size_t i = 0; i < settings.size(); ++i)
        tiles.push_back(SheetTile{&rendered[i], {demoTitle(settings[i]), settings[i].caption}});
    return composeSheet(demoSheetSpec(), "Video Sorvel: the three filters on a generated test picture", tiles);
}

}  // namespace sorvel::cli
