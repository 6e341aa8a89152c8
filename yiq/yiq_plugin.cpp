// The YIQ filter as the host sees it: registration record and procedures.
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "yiq/yiq_dialog.h"
#include "yiq/yiq_transform.h"

namespace sorvel {
namespace {

struct YiqPlugin {
    using Instance = YiqInstance;
    static constexpr const char* name = yiq::kRecord.title;
    static constexpr const char* desc = yiq::kRecord.description;

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        yiq::render({inst.balance, inst.intensity, inst.saturation}, src, dst);
    }

    static constexpr const char* helpFile = yiq::kRecord.helpPath;
    static void initControls(dialog::Controls& c, Instance& inst) {
        dialog::initPlainSliders(c, yiq::sliderRows(inst));
    }
    static dialog::Outcome scroll(dialog::Controls& c, Instance& inst, int, int, int) {
        return dialog::scrollPlainSliders(c, yiq::sliderRows(inst));
    }
    static dialog::Outcome command(dialog::Controls& c, Instance& inst, int id, int) {
        return dialog::commandPlainSliders(c, yiq::sliderRows(inst), id);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<YiqPlugin>::definition; }

}  // namespace sorvel
