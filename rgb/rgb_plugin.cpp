// The RGB filter as the host sees it: registration record and procedures.
#include "frame/filter_glue.h"
#include "frame/module_entry.h"
#include "rgb/rgb_sliders.h"
#include "rgb/rgb_transform.h"

namespace sorvel {
namespace {

struct RgbPlugin {
    using Instance = RgbInstance;
    static constexpr const char* name = rgb::kRecord.title;
    static constexpr const char* desc = rgb::kRecord.description;

    static void render(const Instance& inst, const SourceImage& src, const DestImage& dst) {
        rgb::render({inst.red, inst.green, inst.blue}, src, dst);
    }

    static constexpr const char* helpFile = rgb::kRecord.helpPath;
    static void initControls(dialog::Controls& c, Instance& inst) { rgb::initRgbControls(c, inst); }
    static dialog::Outcome scroll(dialog::Controls& c, Instance& inst, int sender, int code, int position) {
        return rgb::scrollRgb(c, inst, sender, code, position);
    }
    static dialog::Outcome command(dialog::Controls& c, Instance& inst, int id, int notification) {
        return rgb::commandRgb(c, inst, id, notification);
    }
};

}  // namespace

FilterDefinition& frame::moduleFilterDefinition() { return frame::FilterGlue<RgbPlugin>::definition; }

}  // namespace sorvel
