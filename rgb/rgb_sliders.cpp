#include "rgb/rgb_sliders.h"

#include <cstring>

#include "core/numeric.h"
#include "rgb/rgb_transform.h"

namespace sorvel::rgb {
namespace {

constexpr int kBnClicked = 0;

std::int32_t* gainOf(RgbInstance& inst, int channel) {
    std::int32_t* const gains[3] = {&inst.red, &inst.green, &inst.blue};
    return gains[channel];
}

Gains currentGains(const RgbInstance& inst) { return {{inst.red, inst.green, inst.blue}}; }
Gains dragReferences(const RgbInstance& inst) { return {{inst.dragRed, inst.dragGreen, inst.dragBlue}}; }

std::int32_t clampGain(std::int64_t v) {
    if (v < dialog::kSliderMin) return dialog::kSliderMin;
    if (v >= dialog::kSliderMax) return dialog::kSliderMax;
    return static_cast<std::int32_t>(v);
}

void showGain(dialog::Controls& c, int channel, std::int32_t gain) {
    char text[kReadoutSize];
    formatGainReadout(gain, text);
    c.showText(kChannelIds[channel].readout, text);
}

int channelOfSlider(int id) {
    for (int ch = kRed; ch <= kBlue; ++ch)
        if (kChannelIds[ch].slider == id) return ch;
    return -1;
}

}  // namespace

// The text printf's "%1.3f" gives for gain * kGainScale, the double product:
// rounded to thousandths as printf rounds, to nearest with ties to even on the
// exact binary value. Done in integers, so that the libraries carry no
// formatted printing.
void formatGainReadout(std::int32_t gain, char (&text)[kReadoutSize]) {
    const double value = static_cast<double>(gain) * static_cast<double>(kGainScale);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t thousandths = 0;
    if (biasedExponent != 0) {
        // |value| = significand / 2^shift. Every int32 gain gives
        // 2^-9 < |value| < 2^23, so 30 <= shift <= 62 and significand * 1000
        // stays below 2^63.
        const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
        const int shift = 1075 - biasedExponent;
        const std::uint64_t scaled = significand * 1000;
        thousandths = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (thousandths & 1) != 0)) ++thousandths;
    }
    char digits[24];
    int n = 0;
    for (std::uint64_t rest = thousandths; n < 4 || rest != 0; rest /= 10) {
        if (n == 3) digits[n++] = '.';
        digits[n++] = static_cast<char>('0' + rest % 10);
    }
    char* out = text;
    if (value < 0) *out++ = '-';
    while (n > 0) *out++ = digits[--n];
    *out = '\0';
}

LinkRule linkRule(const Gains& r, std::int32_t position) {
    if (position == 0 || r.v[0] == 0 || r.v[1] == 0 || r.v[2] == 0) return LinkRule::additive;
    if (r.v[0] == r.v[1] && r.v[1] == r.v[2]) return LinkRule::additive;
    return LinkRule::proportional;
}

Gains linkedGains(const Gains& references, Channel moved, std::int32_t position) {
    // References from a script may lie anywhere in the int range: the delta
    // and the sums are taken in 64 bits before the clamp.
    const bool additive = linkRule(references, position) == LinkRule::additive;
    const std::int64_t delta = std::int64_t{position} - references.v[moved];
    const float ratio = additive ? 0.0f
                                 : single(static_cast<double>(position) / static_cast<double>(references.v[moved]));
    Gains out = references;
    out.v[moved] = position;
    for (int ch = kRed; ch <= kBlue; ++ch) {
        if (ch == moved) continue;
        const std::int64_t followed = additive ? references.v[ch] + delta
                                               : truncToInt(static_cast<double>(references.v[ch]) * ratio);
        out.v[ch] = clampGain(followed);
    }
    return out;
}

void initRgbControls(dialog::Controls& c, const RgbInstance& inst) {
    c.setChecked(dialog::kLinked, inst.linked != 0);
    const Gains gains = currentGains(inst);
    for (int ch = kRed; ch <= kBlue; ++ch) {
        c.setUpSlider(kChannelIds[ch].slider, gains.v[ch]);
        showGain(c, ch, gains.v[ch]);
    }
}

dialog::Outcome scrollRgb(dialog::Controls& c, RgbInstance& inst, int sender, int code, int thumbPosition) {
    inst.tracking = code == kThumbTrack ? 1 : 0;
    if (!inst.wasTracking && inst.tracking) {
        inst.dragRed = inst.red;
        inst.dragGreen = inst.green;
        inst.dragBlue = inst.blue;
    }
    const int moved = channelOfSlider(sender);
    dialog::Outcome out{true, false, false};
    if (moved >= 0) {
        const bool carriesPosition = code == kThumbTrack || code == kThumbPosition;
        const std::int32_t position = carriesPosition ? thumbPosition : c.sliderPosition(sender);
        if (inst.linked) {
            const Gains references = inst.wasTracking ? dragReferences(inst) : currentGains(inst);
            const Gains after = linkedGains(references, static_cast<Channel>(moved), position);
            for (int ch = kRed; ch <= kBlue; ++ch)
                if (ch != moved) *gainOf(inst, ch) = after.v[ch];
            for (int ch = kRed; ch <= kBlue; ++ch) {
                if (ch == moved) continue;
                showGain(c, ch, after.v[ch]);
                c.moveSlider(kChannelIds[ch].slider, after.v[ch]);
            }
        }
        *gainOf(inst, moved) = position;
        showGain(c, moved, position);
        out.redraw = true;
    }
    inst.wasTracking = inst.tracking;
    return out;
}

dialog::Outcome commandRgb(dialog::Controls& c, RgbInstance& inst, int id, int notification) {
    for (int ch = kRed; ch <= kBlue; ++ch) {
        if (kChannelIds[ch].defaultButton != id) continue;
        const int gain = kRecord.parameters[ch].defaultValue;
        *gainOf(inst, ch) = gain;
        c.moveSlider(kChannelIds[ch].slider, gain);
        showGain(c, ch, gain);
        return {true, true, true};
    }
    if (id != dialog::kLinked) return {};
    if (notification == kBnClicked) {
        const unsigned state = c.checkState(dialog::kLinked);
        if (state == 1) inst.linked = 1;
        if (state == 0 || state == 2) inst.linked = 0;
    }
    return {true, false, false};
}

}  // namespace sorvel::rgb
