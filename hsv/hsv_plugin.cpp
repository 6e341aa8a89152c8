// The SV filter as the host sees it: registration record and procedures.
#include "frame/basic_dialog.h"
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "hsv/hsv_transform.h"

namespace sorvel {
namespace {

struct HsvPlugin {
    using Instance = HsvInstance;
    static constexpr const char* name = "Video Sorvel (saturation/value) v1.0";
    static constexpr const char* desc = "Adjust hue, saturation, value.";

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        hsv::render({inst.hue, inst.saturation, inst.value}, src, dst);
    }

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        return frame::basicDialogProc(dialog, message, wParam, lParam);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<HsvPlugin>::definition; }

}  // namespace sorvel
