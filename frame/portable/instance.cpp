#include "frame/portable/instance.h"

#include "hsv_record.h"
#include "rgb_record.h"
#include "yiq_record.h"

namespace sorvel {

void initInstance(YiqInstance& inst) {
    const auto& p = yiq::kRecord.parameters;
    inst.balance = p[0].defaultValue;
    inst.intensity = p[1].defaultValue;
    inst.saturation = p[2].defaultValue;
}

void initInstance(RgbInstance& inst) {
    const auto& p = rgb::kRecord.parameters;
    inst.red = p[0].defaultValue;
    inst.green = p[1].defaultValue;
    inst.blue = p[2].defaultValue;
    inst.dragRed = inst.dragGreen = inst.dragBlue = -1;
    inst.linked = 1;
    inst.tracking = 0;
    inst.wasTracking = 0;
}

void initInstance(HsvInstance& inst) {
    const auto& p = hsv::kRecord.parameters;
    inst.hue = p[0].defaultValue;
    inst.saturation = p[1].defaultValue;
    inst.value = p[2].defaultValue;
}

}  // namespace sorvel
