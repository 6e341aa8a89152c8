// The RGB filter as the host sees it: registration record and procedures.
#include "frame/basic_dialog.h"
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "rgb/rgb_transform.h"

namespace sorvel {
namespace {

struct RgbPlugin {
    using Instance = RgbInstance;
    static constexpr const char* name = "Video Sorvel (RGB) v1.0";
    static constexpr const char* desc = "Adjust color saturation";

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        rgb::render({inst.red, inst.green, inst.blue}, src, dst);
    }

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        return frame::basicDialogProc(dialog, message, wParam, lParam);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<RgbPlugin>::definition; }

}  // namespace sorvel
