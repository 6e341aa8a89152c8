// The SV filter as the host sees it: registration record and procedures.
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "hsv/hsv_dialog.h"
#include "hsv/hsv_transform.h"

namespace sorvel {
namespace {

struct HsvPlugin {
    using Instance = HsvInstance;
    static constexpr const char* name = hsv::kRecord.title;
    static constexpr const char* desc = hsv::kRecord.description;

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        hsv::render({inst.hue, inst.saturation, inst.value}, src, dst);
    }

    static constexpr const char* helpFile = hsv::kRecord.helpPath;
    static void initControls(dialog::Controls& c, Instance& inst) {
        dialog::initPlainSliders(c, hsv::sliderRows(inst));
    }
    static dialog::Outcome scroll(dialog::Controls& c, Instance& inst, int, int, int) {
        return dialog::scrollPlainSliders(c, hsv::sliderRows(inst));
    }
    static dialog::Outcome command(dialog::Controls& c, Instance& inst, int id, int) {
        return dialog::commandPlainSliders(c, hsv::sliderRows(inst), id);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<HsvPlugin>::definition; }

}  // namespace sorvel
