// Dialog template 101 of each filter as the libraries must carry it: the
// dialog and its 25 controls in template order. Shared by the static
// resource check and the Wine test of the dialogs as created.
#pragma once

#include <cstdint>
#include <vector>

namespace sorvel::test::templates {

constexpr int kNoId = -1;

struct Control {
    int id;
    const char* cls;      // class name; predefined classes may be stored as atoms
    const char* caption;  // "#N" for a resource ordinal
    int x, y, w, h;
    std::uint32_t style;
};

struct Dialog {
    bool extended;
    std::uint32_t style, exStyle;
    const char* caption;
    int x, y, w, h;
    int pointSize;
    const char* font;
    std::vector<Control> controls;
};

constexpr std::uint32_t kDialogStyle = 0x80C800C0;  // popup, caption, sysmenu, modal frame, font
constexpr std::uint32_t kDefPush = 0x50030001, kPush = 0x50010000;
constexpr std::uint32_t kLeftText = 0x50020000, kRightText = 0x50020002;
constexpr std::uint32_t kSlider = 0x50010011, kReadout = 0x50000802, kCheck = 0x50010003;
constexpr std::uint32_t kBottomPush = 0x50010800, kBottomCentredPush = 0x50010B00;
constexpr std::uint32_t kIcon = 0x58000803;
inline const char* const kTrackbar = "msctls_trackbar32";

// clang-format off
inline const Dialog kYiq{
    false, kDialogStyle, 0, "filter: red/green/blue adjust", 0, 0, 227, 201, 8, "MS Sans Serif",
    {
        {1, "BUTTON", "OK", 63, 180, 48, 14, kDefPush},
        {2, "BUTTON", "Cancel", 173, 180, 47, 14, kPush},
        {kNoId, "STATIC", "Balance", 47, 91, 52, 8, kLeftText},
        {kNoId, "STATIC", "Intensity", 47, 7, 52, 8, kLeftText},
        {kNoId, "STATIC", "Saturation", 47, 49, 52, 8, kLeftText},
        {9, "BUTTON", "Help", 118, 180, 47, 14, kPush},
        {1000, kTrackbar, "Slider1", 7, 104, 213, 12, kSlider},
        {1002, kTrackbar, "Slider1", 7, 18, 213, 12, kSlider},
        {1008, kTrackbar, "Slider1", 7, 61, 213, 12, kSlider},
        {kNoId, "STATIC", "I", 13, 120, 8, 8, kLeftText},
        {kNoId, "STATIC", "Q", 190, 120, 24, 10, kRightText},
        {kNoId, "STATIC", "min", 13, 34, 11, 10, kLeftText},
        {kNoId, "STATIC", "max", 200, 34, 14, 8, kRightText},
        {kNoId, "STATIC", "min", 13, 76, 11, 10, kLeftText},
        {kNoId, "STATIC", "max", 200, 76, 14, 8, kRightText},
        {1003, "BUTTON", "default", 124, 120, 26, 14, kBottomPush},
        {1004, "BUTTON", "default", 124, 76, 26, 14, kBottomCentredPush},
        {1005, "BUTTON", "default", 124, 34, 26, 14, kBottomCentredPush},
        {3, "BUTTON", "Show preview", 7, 180, 48, 14, kDefPush},
        {1013, "EDIT", "", 182, 92, 32, 12, kReadout},
        {1014, "EDIT", "", 182, 7, 32, 12, kReadout},
        {1015, "EDIT", "", 182, 48, 32, 12, kReadout},
        {1018, "BUTTON", "linked", 167, 155, 35, 10, kCheck},
        {kNoId, "STATIC", "#102", 21, 145, 21, 20, kIcon},
        {kNoId, "STATIC", "Vornak software", 45, 158, 47, 8, kLeftText},
    }};

inline const Dialog kRgb{
    true, kDialogStyle, 0x00040000, "filter: Video Sorvel (RGB)", 0, 0, 228, 202, 8,
    "MS Sans Serif",
    {
        {1, "BUTTON", "OK", 64, 181, 48, 14, kDefPush},
        {2, "BUTTON", "Cancel", 170, 181, 47, 14, kPush},
        {kNoId, "STATIC", "Red", 51, 7, 34, 8, kLeftText},
        {kNoId, "STATIC", "Green", 51, 50, 52, 8, kLeftText},
        {kNoId, "STATIC", "Blue", 51, 93, 43, 8, kLeftText},
        {9, "BUTTON", "Help", 118, 181, 47, 14, kPush},
        {1006, kTrackbar, "Slider1", 10, 15, 207, 12, kSlider},
        {1007, kTrackbar, "Slider1", 10, 61, 207, 12, kSlider},
        {1008, kTrackbar, "Slider1", 10, 107, 207, 12, kSlider},
        {kNoId, "STATIC", "none", 10, 29, 17, 10, kLeftText},
        {kNoId, "STATIC", "max", 197, 29, 14, 10, kRightText},
        {kNoId, "STATIC", "none", 10, 75, 17, 10, kLeftText},
        {kNoId, "STATIC", "max", 200, 75, 14, 13, kRightText},
        {kNoId, "STATIC", "none", 10, 121, 17, 10, kLeftText},
        {kNoId, "STATIC", "max", 200, 121, 14, 10, kRightText},
        {1003, "BUTTON", "default", 99, 29, 25, 12, kBottomPush},
        {1005, "BUTTON", "default", 101, 121, 25, 13, kBottomCentredPush},
        {1004, "BUTTON", "default", 101, 75, 25, 12, kBottomCentredPush},
        {3, "BUTTON", "Show preview", 10, 181, 48, 14, kDefPush},
        {1013, "EDIT", "", 182, 7, 32, 12, kReadout},
        {1014, "EDIT", "", 182, 48, 32, 12, kReadout},
        {1015, "EDIT", "", 182, 95, 32, 12, kReadout},
        {1018, "BUTTON", "linked", 167, 155, 35, 10, kCheck},
        {kNoId, "STATIC", "#102", 21, 145, 21, 20, kIcon},
        {kNoId, "STATIC", "Vornak software", 45, 158, 47, 8, kLeftText},
    }};

inline const Dialog kHsv{
    false, kDialogStyle, 0, "filter: Video Sorvel (SV)", 0, 0, 227, 199, 8, "MS Sans Serif",
    {
        {1, "BUTTON", "OK", 63, 178, 48, 14, kDefPush},
        {2, "BUTTON", "Cancel", 173, 178, 47, 14, kPush},
        {kNoId, "STATIC", "Hue", 48, 7, 14, 8, kLeftText},
        {kNoId, "STATIC", "Saturation", 48, 49, 33, 8, kLeftText},
        {kNoId, "STATIC", "Value", 48, 91, 19, 8, kLeftText},
        {9, "BUTTON", "Help", 118, 178, 47, 14, kPush},
        {1000, kTrackbar, "Slider1", 7, 19, 213, 12, kSlider},
        {1001, kTrackbar, "Slider1", 7, 62, 213, 12, kSlider},
        {1008, kTrackbar, "Slider1", 7, 105, 213, 12, kSlider},
        {kNoId, "STATIC", "none", 7, 34, 17, 8, kLeftText},
        {kNoId, "STATIC", "max", 206, 32, 14, 8, kRightText},
        {kNoId, "STATIC", "none", 7, 77, 17, 8, kLeftText},
        {kNoId, "STATIC", "max", 206, 75, 14, 8, kRightText},
        {kNoId, "STATIC", "none", 7, 121, 17, 8, kLeftText},
        {kNoId, "STATIC", "max", 206, 121, 14, 8, kRightText},
        {1003, "BUTTON", "default", 104, 32, 26, 14, kBottomPush},
        {1005, "BUTTON", "default", 102, 118, 26, 14, kBottomCentredPush},
        {1004, "BUTTON", "default", 104, 75, 26, 14, kBottomCentredPush},
        {3, "BUTTON", "Show preview", 7, 178, 48, 14, kDefPush},
        {1013, "EDIT", "", 182, 7, 32, 12, kReadout},
        {1014, "EDIT", "", 182, 50, 32, 12, kReadout},
        {1015, "EDIT", "", 182, 93, 32, 12, kReadout},
        {1018, "BUTTON", "linked", 167, 155, 35, 10, kCheck},
        {kNoId, "STATIC", "#102", 21, 145, 21, 20, kIcon},
        {kNoId, "STATIC", "Vornak software", 45, 158, 47, 8, kLeftText},
    }};
// clang-format on

}  // namespace sorvel::test::templates
