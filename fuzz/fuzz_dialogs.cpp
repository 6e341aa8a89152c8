// The dialogs' logic under any sequence of messages, starting from any
// instance values a script can store: no undefined behaviour, the sliders
// and readouts always agree with what was stored, and gains the linked
// update writes stay within 0..300.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_controls.h"
#include "frame/portable/instance.h"
#include "fuzz_input.h"
#include "hsv/hsv_dialog.h"
#include "rgb/rgb_sliders.h"
#include "yiq/yiq_dialog.h"

namespace {

using sorvel::test::FakeControls;
namespace rgb = sorvel::rgb;

void require(bool ok) {
    if (!ok) std::abort();
}

void fuzzRgb(sorvel::fuzz::Input& in) {
    sorvel::RgbInstance inst{};
    inst.red = in.take<std::int32_t>(), inst.green = in.take<std::int32_t>(), inst.blue = in.take<std::int32_t>();
    inst.dragRed = in.take<std::int32_t>(), inst.dragGreen = in.take<std::int32_t>();
    inst.dragBlue = in.take<std::int32_t>();
    inst.linked = in.take<std::uint8_t>(), inst.tracking = in.take<std::uint8_t>();
    inst.wasTracking = in.take<std::uint8_t>();
    FakeControls c;
    rgb::initRgbControls(c, inst);
    while (in.restSize() > 0) {
        const unsigned what = in.pick(4);
        if (what == 0) {
            const int ch = static_cast<int>(in.pick(3));
            const int code = static_cast<int>(in.pick(9));
            const int position = static_cast<int>(in.pick(301));
            const int id = rgb::kChannelIds[ch].slider;
            const bool before = inst.linked != 0;
            c.slider[id] = position;
            const auto out = rgb::scrollRgb(c, inst, id, code, position);
            require(out.redraw && !out.result);
            const std::int32_t gains[3] = {inst.red, inst.green, inst.blue};
            require(gains[ch] == position);
            for (int other = 0; other < 3; ++other) {
                if (!before || other == ch) continue;
                require(gains[other] >= 0 && gains[other] <= 300);
                require(c.slider[rgb::kChannelIds[other].slider] == gains[other]);
            }
            char text[rgb::kReadoutSize];
            rgb::formatGainReadout(gains[ch], text);
            require(c.readout[rgb::kChannelIds[ch].readout] == text);
        } else if (what == 1) {
            const auto out = rgb::scrollRgb(c, inst, static_cast<int>(in.take<std::uint16_t>() % 1006),
                                            in.take<std::uint8_t>(), 0);
            require(!out.redraw);
        } else if (what == 2) {
            const int ch = static_cast<int>(in.pick(3));
            rgb::commandRgb(c, inst, rgb::kChannelIds[ch].defaultButton, in.take<std::uint8_t>());
            require((ch == 0 ? inst.red : ch == 1 ? inst.green : inst.blue) == 0);
        } else {
            c.check = in.pick(4);
            rgb::commandRgb(c, inst, 1018, in.pick(2));
        }
    }
}

void fuzzPlain(sorvel::fuzz::Input& in, sorvel::dialog::SliderRows rows) {
    for (auto& r : rows.row) *r.parameter = in.take<std::int32_t>();
    FakeControls c;
    sorvel::dialog::initPlainSliders(c, rows);
    while (in.restSize() > 0) {
        const unsigned row = in.pick(4);
        if (row == 3) {
            const auto out = sorvel::dialog::scrollPlainSliders(c, rows);
            (void)out;
            for (const auto& r : rows.row) require(*r.parameter == c.slider[r.slider]);
        } else {
            const auto& r = rows.row[row];
            if (in.pick(2)) {
                c.slider[r.slider] = static_cast<int>(in.pick(301));
            } else {
                require(sorvel::dialog::commandPlainSliders(c, rows, r.defaultButton).redraw);
                require(*r.parameter == r.defaultValue);
            }
        }
        for (const auto& r : rows.row)
            require(c.readout[r.readout].find_first_not_of("0123456789") == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sorvel::fuzz::Input in(data, size);
    switch (in.pick(3)) {
        case 0: fuzzRgb(in); break;
        case 1: {
            sorvel::YiqInstance yiq{};
            fuzzPlain(in, sorvel::yiq::sliderRows(yiq));
            break;
        }
        default: {
            sorvel::HsvInstance hsv{};
            fuzzPlain(in, sorvel::hsv::sliderRows(hsv));
        }
    }
    return 0;
}
