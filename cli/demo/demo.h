// The demo: the generated test picture through each filter at a few telling
// settings, on one labelled contact sheet.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/demo/contact_sheet.h"
#include "cli/grading/whole_image.h"

namespace sorvel::cli {

struct DemoSetting {
    const char* filter;  // nullptr for the untouched picture
    std::array<std::int32_t, 3> parameters;
    const char* caption;
};

const std::vector<DemoSetting>& demoSettings();

const SheetSpec& demoSheetSpec();

// "YIQ  Config(150, 300, 0)", or "Original" for the untouched picture.
std::string demoTitle(const DemoSetting& setting);

Image renderDemoSheet();

}  // namespace sorvel::cli
