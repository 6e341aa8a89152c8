// The RGB dialog: gain readouts, "default" buttons, the "linked" box and
// the linked sliders with their drag references.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_controls.h"
#include "frame/portable/instance.h"
#include "rgb/rgb_sliders.h"
#include "rgb/rgb_transform.h"

namespace sorvel::rgb {

// Gains as a failure message shows them.
void PrintTo(const Gains& g, std::ostream* os) { *os << "(" << g.v[0] << ", " << g.v[1] << ", " << g.v[2] << ")"; }

namespace {

using test::FakeControls;

constexpr int kLineDown = 1;  // right-arrow key
constexpr int kEndTrack = 8;

TEST(RgbReadout, ShowsTheGainOverThreeHundred) {
    // clang-format off
    const struct {
        std::int32_t gain;
        const char* text;
    } cases[] = {
        {0, "0.000"},   {1, "0.003"},   {2, "0.007"},   {100, "0.333"},  {150, "0.500"},
        {200, "0.667"}, {299, "0.997"}, {300, "1.000"}, {400, "1.333"},  {-5, "-0.017"},
        {2147483647, "7158278.997"},    {-2147483647 - 1, "-7158279.000"},
    };
    // clang-format on
    for (const auto& c : cases) {
        char text[kReadoutSize];
        formatGainReadout(c.gain, text);
        EXPECT_STREQ(text, c.text) << c.gain;
    }
}

// The readout is printf's "%1.3f" of the product: glibc's correctly rounded
// printing is the oracle over every gain near the slider range, across each
// power of two, at the int ends and on exact ties.
TEST(RgbReadout, MatchesPrintfOverASweepOfGains) {
    std::vector<std::int64_t> gains;
    for (std::int64_t g = -100000; g <= 100000; ++g) gains.push_back(g);
    for (int bit = 17; bit <= 31; ++bit)
        for (std::int64_t d = -300; d <= 300; ++d) {
            gains.push_back((std::int64_t{1} << bit) + d);
            gains.push_back(-(std::int64_t{1} << bit) + d);
        }
    // Multiples of 2^27 land exactly halfway between thousandths.
    for (std::int64_t k = -16; k < 16; ++k) gains.push_back(k * (std::int64_t{1} << 27));
    int mismatches = 0;
    for (const std::int64_t wide : gains) {
        if (wide < INT_MIN || wide > INT_MAX) continue;
        const auto gain = static_cast<std::int32_t>(wide);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%1.3f", static_cast<double>(gain) * static_cast<double>(kGainScale));
        char text[kReadoutSize];
        formatGainReadout(gain, text);
        if (std::string(text) != expected && ++mismatches <= 5)
            ADD_FAILURE() << gain << ": " << text << " instead of " << expected;
    }
    EXPECT_EQ(mismatches, 0);
}

// A dialog opened on an instance with the given gains, "linked" as given.
struct Dialog {
    RgbInstance inst{};
    FakeControls c;

    Dialog(Gains g, bool linked = true) {
        initInstance(inst);
        inst.red = g.v[0], inst.green = g.v[1], inst.blue = g.v[2];
        inst.linked = linked ? 1 : 0;
        initRgbControls(c, inst);
    }
    Gains gains() const { return {{inst.red, inst.green, inst.blue}}; }
    // The user moves a slider: the trackbar takes the position, then tells.
    dialog::Outcome move(Channel ch, int position, int code) {
        const int id = kChannelIds[ch].slider;
        c.slider[id] = position;
        return scrollRgb(c, inst, id, code, code == kThumbTrack || code == kThumbPosition ? position : 0);
    }
    bool controlsShow(Gains g) {
        for (int ch = 0; ch < 3; ++ch) {
            char text[kReadoutSize];
            formatGainReadout(g.v[ch], text);
            if (c.readout[kChannelIds[ch].readout] != text || c.slider[kChannelIds[ch].slider] != g.v[ch]) return false;
        }
        return true;
    }
};

TEST(RgbDialog, OpeningShowsGainsAndTheLinkedBox) {
    Dialog d(Gains{{0, 150, 300}});
    EXPECT_EQ(d.c.readout[1013], "0.000");
    EXPECT_EQ(d.c.readout[1014], "0.500");
    EXPECT_EQ(d.c.readout[1015], "1.000");
    EXPECT_EQ(d.c.check, 1u) << "a new instance is linked";
    Dialog e(Gains{{400, -5, 0}}, false);
    EXPECT_EQ(e.c.readout[1013], "1.333");
    EXPECT_EQ(e.c.slider[1006], 300);
    EXPECT_EQ(e.c.slider[1007], 0);
    EXPECT_EQ(e.c.check, 0u);
    EXPECT_EQ(e.gains(), (Gains{{400, -5, 0}})) << "opening stores nothing";
}

TEST(RgbDialog, LinkedExamples) {
    const struct {
        Gains before;
        Channel moved;
        int position;
        Gains after;
    } cases[] = {
        {{{100, 50, 200}}, kRed, 101, {{101, 50, 201}}},
        {{{100, 50, 200}}, kRed, 99, {{99, 49, 198}}},
        {{{100, 50, 200}}, kRed, 0, {{0, 0, 100}}},
        {{{100, 0, 200}}, kRed, 150, {{150, 50, 250}}},
        {{{0, 100, 100}}, kGreen, 120, {{20, 120, 120}}},
        {{{200, 100, 50}}, kGreen, 80, {{160, 80, 40}}},
        {{{120, 60, 30}}, kBlue, 45, {{180, 90, 45}}},
        // Equal references move together by the same step.
        {{{3, 3, 3}}, kRed, 7, {{7, 7, 7}}},
        {{{300, 300, 300}}, kBlue, 1, {{1, 1, 1}}},
        // Script values at the ends of the int range clamp, never overflow.
        {{{2147483647, -2147483647 - 1, 5}}, kRed, 10, {{10, 0, 0}}},
        {{{-2147483647 - 1, 100, 100}}, kGreen, 0, {{0, 0, 0}}},
        {{{-2147483647 - 1, 1, 2}}, kRed, 300, {{300, 0, 0}}},
        {{{-2147483647 - 1, 0, 2}}, kRed, 300, {{300, 300, 300}}},
    };
    for (const auto& k : cases) {
        for (int code : {kLineDown, kThumbPosition, kEndTrack}) {
            Dialog d(k.before);
            const dialog::Outcome out = d.move(k.moved, k.position, code);
            EXPECT_EQ(d.gains(), k.after) << "code " << code;
            EXPECT_TRUE(out.redraw);
            EXPECT_FALSE(out.result);
            EXPECT_TRUE(d.controlsShow(k.after));
        }
    }
}

TEST(RgbDialog, DragMeasuresFromWhereItBegan) {
    Dialog d(Gains{{100, 50, 200}});
    d.move(kRed, 150, kThumbTrack);
    EXPECT_EQ(d.gains(), (Gains{{150, 75, 300}}));
    d.move(kRed, 180, kThumbTrack);
    EXPECT_EQ(d.gains(), (Gains{{180, 89, 300}}));
    d.move(kRed, 100, kThumbTrack);
    EXPECT_EQ(d.gains(), (Gains{{100, 50, 200}})) << "back although blue was held at 300";
    EXPECT_EQ(d.inst.dragRed, 100);
    EXPECT_EQ(d.inst.dragGreen, 50);
    EXPECT_EQ(d.inst.dragBlue, 200);
    d.move(kRed, 100, kThumbPosition);
    EXPECT_EQ(d.inst.wasTracking, 0);
    EXPECT_TRUE(d.move(kRed, 100, kEndTrack).redraw) << "every slider message redraws";
    EXPECT_EQ(d.gains(), (Gains{{100, 50, 200}}));
    EXPECT_TRUE(d.controlsShow({{100, 50, 200}}));
}

TEST(RgbDialog, DragEndingWithThumbPositionStillUsesTheReferences) {
    Dialog d(Gains{{100, 50, 200}});
    d.move(kRed, 180, kThumbTrack);
    d.move(kRed, 150, kThumbPosition);
    EXPECT_EQ(d.gains(), (Gains{{150, 75, 300}}));
    // A second drag snapshots afresh.
    d.move(kGreen, 150, kThumbTrack);
    EXPECT_EQ(d.inst.dragRed, 150);
    EXPECT_EQ(d.inst.dragBlue, 300);
    EXPECT_EQ(d.gains(), (Gains{{300, 150, 300}}));
}

TEST(RgbDialog, ArrowStepsLeaveASliderBehind) {
    Dialog d(Gains{{100, 50, 200}});
    for (int i = 1; i <= 5; ++i) d.move(kRed, 100 + i, kLineDown);
    EXPECT_EQ(d.gains(), (Gains{{105, 50, 205}}));
}

TEST(RgbDialog, UnlinkedMovesOnlyItsOwnGain) {
    Dialog d(Gains{{100, 50, 200}}, false);
    EXPECT_TRUE(d.move(kGreen, 10, kThumbTrack).redraw);
    EXPECT_EQ(d.gains(), (Gains{{100, 10, 200}}));
    d.move(kBlue, 0, kLineDown);
    EXPECT_EQ(d.gains(), (Gains{{100, 10, 0}}));
    EXPECT_EQ(d.c.moves, 0) << "no other slider moves";
}

TEST(RgbDialog, ScrollFromAnotherControlChangesNoGain) {
    Dialog d(Gains{{100, 50, 200}});
    for (int sender : {0, 1013, 1000, 1001}) {
        const dialog::Outcome out = scrollRgb(d.c, d.inst, sender, kThumbTrack, 30);
        EXPECT_FALSE(out.redraw) << sender;
        EXPECT_EQ(d.gains(), (Gains{{100, 50, 200}}));
    }
    // The drag state still follows the messages.
    EXPECT_EQ(d.inst.wasTracking, 1);
    EXPECT_EQ(d.inst.dragGreen, 50);
}

TEST(RgbDialog, DefaultButtonsResetOneChannel) {
    for (bool linked : {true, false}) {
        for (int ch = kRed; ch <= kBlue; ++ch) {
            Dialog d(Gains{{100, 50, 200}}, linked);
            d.inst.dragRed = 7, d.inst.tracking = 1, d.inst.wasTracking = 1;
            const dialog::Outcome out = commandRgb(d.c, d.inst, kChannelIds[ch].defaultButton, 0);
            EXPECT_TRUE(out.handled && out.redraw && out.result);
            Gains expected{{100, 50, 200}};
            expected.v[ch] = 0;
            EXPECT_EQ(d.gains(), expected);
            EXPECT_TRUE(d.controlsShow(expected));
            EXPECT_EQ(d.inst.dragRed, 7);
            EXPECT_EQ(d.inst.wasTracking, 1);
            EXPECT_EQ(d.inst.linked, linked ? 1 : 0);
        }
    }
}

TEST(RgbDialog, LinkedBoxFollowsTheClickedState) {
    const struct {
        std::uint8_t before;
        unsigned state;
        int notification;
        std::uint8_t after;
    } cases[] = {
        {0, 1, 0, 1}, {1, 0, 0, 0}, {1, 2, 0, 0}, {1, 7, 0, 1}, {0, 7, 0, 0}, {1, 0, 5, 1},  // not a click: nothing
    };
    for (const auto& k : cases) {
        Dialog d(Gains{{1, 2, 3}}, k.before != 0);
        d.c.check = k.state;
        const dialog::Outcome out = commandRgb(d.c, d.inst, 1018, k.notification);
        EXPECT_EQ(d.inst.linked, k.after) << k.state << " " << k.notification;
        EXPECT_TRUE(out.handled);
        EXPECT_FALSE(out.redraw || out.result);
        EXPECT_EQ(d.gains(), (Gains{{1, 2, 3}}));
    }
    Dialog d(Gains{{1, 2, 3}});
    EXPECT_FALSE(commandRgb(d.c, d.inst, 1006, 0).handled);
}

// Properties over whole ranges of starting gains.
TEST(RgbLinked, ResultsStayInRangeAndDragsReturnExactly) {
    for (int r = 0; r <= 300; r += 7) {
        for (int g = 0; g <= 300; g += 11) {
            for (int b = 0; b <= 300; b += 13) {
                const Gains start{{r, g, b}};
                for (int n = 0; n <= 300; n += 17) {
                    const Gains after = linkedGains(start, kGreen, n);
                    ASSERT_EQ(after.v[kGreen], n);
                    for (int v : after.v) ASSERT_TRUE(v >= 0 && v <= 300);
                }
                // Back at the start position, the references come back.
                ASSERT_EQ(linkedGains(start, kRed, r), start);
                ASSERT_EQ(linkedGains(start, kBlue, b), start);
            }
        }
    }
}

TEST(RgbLinked, RuleChoice) {
    EXPECT_EQ(linkRule({{100, 50, 200}}, 150), LinkRule::proportional);
    EXPECT_EQ(linkRule({{100, 50, 200}}, 0), LinkRule::additive);
    EXPECT_EQ(linkRule({{100, 0, 200}}, 150), LinkRule::additive);
    EXPECT_EQ(linkRule({{5, 5, 5}}, 150), LinkRule::additive);
    EXPECT_EQ(linkRule({{5, 5, 6}}, 150), LinkRule::proportional);
}

}  // namespace
}  // namespace sorvel::rgb
