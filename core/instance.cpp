#include "core/instance.h"

#include "hsv/hsv_transform.h"
#include "rgb/rgb_transform.h"
#include "yiq/yiq_transform.h"

namespace sorvel {

void initInstance(YiqInstance& inst) {
    inst.balance = yiq::kDefaults.balance;
    inst.intensity = yiq::kDefaults.intensity;
    inst.saturation = yiq::kDefaults.saturation;
}

void initInstance(RgbInstance& inst) {
    inst.red = rgb::kDefaults.red;
    inst.green = rgb::kDefaults.green;
    inst.blue = rgb::kDefaults.blue;
    inst.dragRed = inst.dragGreen = inst.dragBlue = -1;
    inst.linked = 1;
    inst.tracking = 0;
    inst.wasTracking = 0;
}

void initInstance(HsvInstance& inst) {
    inst.hue = hsv::kDefaults.hue;
    inst.saturation = hsv::kDefaults.saturation;
    inst.value = hsv::kDefaults.value;
}

}  // namespace sorvel
