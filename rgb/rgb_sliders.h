// Dialog logic of the RGB filter: gain readouts, "default" buttons, the
// "linked" box and the linked sliders, where moving one slider moves the
// other two, proportionally where the references allow it, and a drag always
// measures from the gains held when it began.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/portable/dialog_controls.h"
#include "frame/portable/instance.h"

namespace sorvel::rgb {

enum Channel : int { kRed, kGreen, kBlue };

struct ChannelIds {
    int slider, readout, defaultButton;
};

constexpr ChannelIds kChannelIds[3] = {{1006, 1013, 1003}, {1007, 1014, 1004}, {1008, 1015, 1005}};

// Trackbar scroll codes that carry the thumb position with them.
constexpr int kThumbPosition = 4;
constexpr int kThumbTrack = 5;

// A gain as its readout shows it: gain / 300 with three decimals, "%1.3f".
constexpr std::size_t kReadoutSize = 32;
void formatGainReadout(std::int32_t gain, char (&text)[kReadoutSize]);

struct Gains {
    std::int32_t v[3];  // red, green, blue
    bool operator==(const Gains& o) const { return v[0] == o.v[0] && v[1] == o.v[1] && v[2] == o.v[2]; }
};

enum class LinkRule { proportional, additive };

// The rule that moves the other two sliders: additive when the new position
// or any reference is 0 (nothing to scale), and when the three references are
// equal, so that sliders standing together keep standing together (the
// proportional rule could leave them a step short through truncation).
LinkRule linkRule(const Gains& references, std::int32_t position);

// The gains after moving channel `moved` to `position` with the sliders
// linked: the other two follow from the references, clamped to 0..300.
Gains linkedGains(const Gains& references, Channel moved, std::int32_t position);

// The filter's share of the dialog messages. `sender` is the id of the
// control that sent the scroll message (0 for none); thumbPosition is the
// position the message carries.
void initRgbControls(dialog::Controls& c, const RgbInstance& inst);
dialog::Outcome scrollRgb(dialog::Controls& c, RgbInstance& inst, int sender, int code, int thumbPosition);
dialog::Outcome commandRgb(dialog::Controls& c, RgbInstance& inst, int id, int notification);

}  // namespace sorvel::rgb
