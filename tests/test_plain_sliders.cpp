// The YIQ and HSV dialogs: sliders, readouts and "default" buttons over
// the instance parameters.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "fake_controls.h"
#include "frame/portable/instance.h"
#include "hsv/hsv_dialog.h"
#include "yiq/yiq_dialog.h"

namespace sorvel {
namespace {

using test::FakeControls;

// One filter's dialog as the tests see it: parameters 1 to 3 in script
// order, and the control ids of each parameter's row.
struct Layout {
    const char* name;
    int slider[3], readout[3], button[3];
    std::int32_t defaults[3];
};

constexpr Layout kYiq{"yiq", {1000, 1002, 1008}, {1013, 1014, 1015}, {1003, 1005, 1004}, {150, 0, 0}};
constexpr Layout kHsv{"hsv", {1000, 1001, 1008}, {1013, 1014, 1015}, {1003, 1004, 1005}, {150, 0, 0}};

// A dialog with its instance: YIQ or HSV, through the same three calls.
struct Dialog {
    const Layout& layout;
    YiqInstance yiq;
    HsvInstance hsv;
    FakeControls c;

    explicit Dialog(const Layout& l, std::array<std::int32_t, 3> p)
        : layout(l), yiq{nullptr, p[0], p[1], p[2]}, hsv{nullptr, p[0], p[1], p[2]} {
        dialog::initPlainSliders(c, rows());
    }
    bool isYiq() const { return &layout == &kYiq; }
    dialog::SliderRows rows() { return isYiq() ? yiq::sliderRows(yiq) : hsv::sliderRows(hsv); }
    std::array<std::int32_t, 3> params() const {
        return isYiq() ? std::array<std::int32_t, 3>{yiq.balance, yiq.intensity, yiq.saturation}
                       : std::array<std::int32_t, 3>{hsv.hue, hsv.saturation, hsv.value};
    }
    std::array<std::string, 3> readouts() {
        return {c.readout[layout.readout[0]], c.readout[layout.readout[1]], c.readout[layout.readout[2]]};
    }
    std::array<int, 3> sliders() {
        return {c.slider[layout.slider[0]], c.slider[layout.slider[1]], c.slider[layout.slider[2]]};
    }
    dialog::Outcome scroll() { return dialog::scrollPlainSliders(c, rows()); }
    dialog::Outcome command(int id) { return dialog::commandPlainSliders(c, rows(), id); }
};

const Layout* const kLayouts[] = {&kYiq, &kHsv};

TEST(PlainSliders, OpeningShowsStoredValuesAndNearestSliderEnds) {
    struct Case {
        std::array<std::int32_t, 3> params;
        std::array<int, 3> sliders;
        std::array<std::string, 3> readouts;
    };
    const Case cases[] = {
        {{150, 0, 0}, {150, 0, 0}, {"150", "0", "0"}},
        {{0, 300, 7}, {0, 300, 7}, {"0", "300", "7"}},
        {{-5, 400, 0}, {0, 300, 0}, {"4294967291", "400", "0"}},
        {{-2147483647 - 1, 2147483647, 301}, {0, 300, 300}, {"2147483648", "2147483647", "301"}},
    };
    for (const Layout* l : kLayouts) {
        for (const Case& k : cases) {
            Dialog d(*l, k.params);
            EXPECT_EQ(d.readouts(), k.readouts) << l->name;
            EXPECT_EQ(d.sliders(), k.sliders) << l->name;
            EXPECT_EQ(d.c.setUps, 3);
            EXPECT_EQ(d.params(), k.params) << "opening stores nothing";
        }
    }
}

TEST(PlainSliders, ScrollStoresAllPositionsOnlyWhenOneDiffers) {
    for (const Layout* l : kLayouts) {
        Dialog d(*l, {150, 0, 0});
        // The user drags parameter 2's slider to 300.
        d.c.slider[l->slider[1]] = 300;
        dialog::Outcome out = d.scroll();
        EXPECT_TRUE(out.redraw);
        EXPECT_FALSE(out.result);
        EXPECT_EQ(d.params(), (std::array<std::int32_t, 3>{150, 300, 0})) << l->name;
        EXPECT_EQ(d.readouts(), (std::array<std::string, 3>{"150", "300", "0"}));

        // The end-of-drag message finds nothing changed: no store, no redraw,
        // readouts rewritten all the same.
        d.c.readout.clear();
        out = d.scroll();
        EXPECT_FALSE(out.redraw) << l->name;
        EXPECT_EQ(d.readouts(), (std::array<std::string, 3>{"150", "300", "0"}));
    }
}

TEST(PlainSliders, FirstScrollReplacesOutOfRangeValues) {
    for (const Layout* l : kLayouts) {
        Dialog d(*l, {-5, 400, 20});
        d.c.slider[l->slider[2]] = 21;
        EXPECT_TRUE(d.scroll().redraw);
        EXPECT_EQ(d.params(), (std::array<std::int32_t, 3>{0, 300, 21})) << l->name;

        // Without any slider moving, out-of-range values still differ from
        // the positions and are replaced.
        Dialog e(*l, {301, 0, 0});
        EXPECT_TRUE(e.scroll().redraw);
        EXPECT_EQ(e.params(), (std::array<std::int32_t, 3>{300, 0, 0})) << l->name;
    }
}

TEST(PlainSliders, DefaultButtonsResetTheirOwnRowAndAlwaysRedraw) {
    for (const Layout* l : kLayouts) {
        for (int row = 0; row < 3; ++row) {
            Dialog d(*l, {7, 8, 9});
            d.c.slider[l->slider[0]] = 100;  // moved, not yet reported: left alone
            const dialog::Outcome out = d.command(l->button[row]);
            EXPECT_TRUE(out.handled && out.redraw && out.result);
            std::array<std::int32_t, 3> expected{7, 8, 9};
            expected[row] = l->defaults[row];
            EXPECT_EQ(d.params(), expected) << l->name << " row " << row;
            EXPECT_EQ(d.c.slider[l->slider[row]], l->defaults[row]);
            EXPECT_EQ(d.c.readout[l->readout[row]], std::to_string(l->defaults[row]));
        }
        // Already at its default: a redraw all the same.
        Dialog d(*l, {150, 0, 0});
        EXPECT_TRUE(d.command(l->button[0]).redraw);
    }
}

TEST(PlainSliders, OtherCommandsAreNotTheFilters) {
    for (const Layout* l : kLayouts) {
        Dialog d(*l, {1, 2, 3});
        for (int id : {1018, 1006, 1013, 1000, 4, 0}) {
            const dialog::Outcome out = d.command(id);
            EXPECT_FALSE(out.handled || out.redraw || out.result) << id;
        }
        EXPECT_EQ(d.params(), (std::array<std::int32_t, 3>{1, 2, 3}));
        EXPECT_EQ(d.readouts(), (std::array<std::string, 3>{"1", "2", "3"}));
    }
}

TEST(PlainSliders, AllThreeDefaultsGiveTheDefaultParameters) {
    for (const Layout* l : kLayouts) {
        Dialog d(*l, {1, 2, 3});
        for (int id : l->button) d.command(id);
        EXPECT_EQ(d.params(), (std::array<std::int32_t, 3>{150, 0, 0})) << l->name;
    }
}

}  // namespace
}  // namespace sorvel
