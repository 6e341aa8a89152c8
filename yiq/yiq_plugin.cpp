// The YIQ filter as the host sees it: registration record and procedures.
#include "frame/basic_dialog.h"
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "yiq/yiq_transform.h"

namespace sorvel {
namespace {

struct YiqPlugin {
    using Instance = YiqInstance;
    static constexpr const char* name = "Video Sorvel (YIQ) v1.0";
    static constexpr const char* desc = "Adjust intensity, saturation, and color balance.";

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        yiq::render({inst.balance, inst.intensity, inst.saturation}, src, dst);
    }

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        return frame::basicDialogProc(dialog, message, wParam, lParam);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<YiqPlugin>::definition; }

}  // namespace sorvel
