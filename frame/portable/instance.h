// The per-instance records that live in the host-allocated instance data.
// The first word holds the host's preview interface while the configuration
// dialog is open; it is kept as an untyped pointer so that this header needs
// no host declarations. Parameters 1 to 3 follow as signed 32-bit integers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sorvel {

struct YiqInstance {
    void* preview;
    std::int32_t balance;     // parameter 1
    std::int32_t intensity;   // parameter 2
    std::int32_t saturation;  // parameter 3
};

struct RgbInstance {
    void* preview;
    std::int32_t red;      // parameter 1
    std::int32_t green;    // parameter 2
    std::int32_t blue;     // parameter 3
    std::int32_t dragRed;  // gains when the current slider drag began
    std::int32_t dragGreen;
    std::int32_t dragBlue;
    std::uint8_t linked;       // "linked" box: one slider moves the other two
    std::uint8_t tracking;     // the slider message in hand is a drag step
    std::uint8_t wasTracking;  // the message before it was a drag step
};

struct HsvInstance {
    void* preview;
    std::int32_t hue;         // parameter 1
    std::int32_t saturation;  // parameter 2
    std::int32_t value;       // parameter 3
};

// Parameters 1 to 3 of a record, in the order of the script function.
struct ScriptParameters {
    std::int32_t* at[3];
};

inline ScriptParameters scriptParameters(YiqInstance& i) { return {{&i.balance, &i.intensity, &i.saturation}}; }
inline ScriptParameters scriptParameters(RgbInstance& i) { return {{&i.red, &i.green, &i.blue}}; }
inline ScriptParameters scriptParameters(HsvInstance& i) { return {{&i.hue, &i.saturation, &i.value}}; }

// Writes the defaults of a new instance; the preview word is left alone.
void initInstance(YiqInstance& inst);
void initInstance(RgbInstance& inst);
void initInstance(HsvInstance& inst);

}  // namespace sorvel

namespace sorvel {

// The host allocates exactly sizeof bytes of instance data: 16 (RGB 32) on
// 32-bit Windows, 24 (RGB 40) where pointers take 8 bytes.
constexpr bool kPointer32 = sizeof(void*) == 4;
static_assert(sizeof(YiqInstance) == (kPointer32 ? 16 : 24), "YIQ instance size");
static_assert(sizeof(HsvInstance) == (kPointer32 ? 16 : 24), "HSV instance size");
static_assert(sizeof(RgbInstance) == (kPointer32 ? 32 : 40), "RGB instance size");
static_assert(offsetof(YiqInstance, balance) == sizeof(void*), "parameters follow the preview word");
static_assert(offsetof(HsvInstance, hue) == sizeof(void*), "parameters follow the preview word");
static_assert(offsetof(RgbInstance, red) == sizeof(void*), "parameters follow the preview word");
static_assert(offsetof(RgbInstance, dragRed) == sizeof(void*) + 12, "drag references");
static_assert(offsetof(RgbInstance, linked) == sizeof(void*) + 24, "flags after the references");

}  // namespace sorvel
