// The frei0r entry points of one filter library. Built once per filter, with
// SORVEL_FREI0R_FILTER naming the filter's descriptor in filters.h. Only
// these functions are exported; nothing here keeps state outside an instance.
// frei0r.h declares the entry points without C linkage of its own.
extern "C" {
#include <frei0r.h>
}

#include "core/kernel_choice.h"
#include "frei0r/filter_instance.h"
#include "frei0r/filters.h"
#include "frei0r/parameter_scale.h"

#define SORVEL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Filter = sorvel::frei0r::SORVEL_FREI0R_FILTER;
using Instance = sorvel::frei0r::FilterInstance<Filter>;

// Hosts see every parameter as a fraction of the dialog's range.
constexpr bool rangesAreTheSliders() {
    for (const sorvel::ParameterRecord& p : Filter::record.parameters)
        if (p.minimum != 0 || p.maximum != sorvel::frei0r::kSliderMax) return false;
    return true;
}
static_assert(rangesAreTheSliders(), "a parameter's range is not the frei0r scale");

Instance* instanceOf(f0r_instance_t instance) { return static_cast<Instance*>(instance); }

}  // namespace

// The host calls this once before anything else: the user's kernel limit.
SORVEL_EXPORT int f0r_init() {
    sorvel::applyKernelChoice();
    return 1;
}

SORVEL_EXPORT void f0r_deinit() {}

SORVEL_EXPORT void f0r_get_plugin_info(f0r_plugin_info_t* info) {
    if (info == nullptr) return;
    info->name = Filter::record.editorTitle;
    info->author = sorvel::frei0r::kAuthor;
    info->plugin_type = F0R_PLUGIN_TYPE_FILTER;
    info->color_model = F0R_COLOR_MODEL_BGRA8888;
    info->frei0r_version = FREI0R_MAJOR_VERSION;
    info->major_version = sorvel::frei0r::kMajorVersion;
    info->minor_version = sorvel::frei0r::kMinorVersion;
    info->num_params = sorvel::frei0r::kParameterCount;
    info->explanation = Filter::record.summary;
}

SORVEL_EXPORT void f0r_get_param_info(f0r_param_info_t* info, int param_index) {
    if (info == nullptr || param_index < 0 || param_index >= sorvel::frei0r::kParameterCount) return;
    const sorvel::ParameterRecord& parameter = Filter::record.parameters[param_index];
    info->name = parameter.name;
    info->type = F0R_PARAM_DOUBLE;
    info->explanation = parameter.brief;
}

SORVEL_EXPORT f0r_instance_t f0r_construct(unsigned int width, unsigned int height) {
    return Instance::create(width, height).release();
}

SORVEL_EXPORT void f0r_destruct(f0r_instance_t instance) { delete instanceOf(instance); }

SORVEL_EXPORT void f0r_set_param_value(f0r_instance_t instance, f0r_param_t param, int param_index) {
    if (instance == nullptr || param == nullptr) return;
    instanceOf(instance)->setParameter(param_index, *static_cast<const f0r_param_double*>(param));
}

SORVEL_EXPORT void f0r_get_param_value(f0r_instance_t instance, f0r_param_t param, int param_index) {
    if (instance == nullptr || param == nullptr) return;
    if (const auto fraction = instanceOf(instance)->parameter(param_index)) {
        *static_cast<f0r_param_double*>(param) = *fraction;
    }
}

SORVEL_EXPORT void f0r_update(f0r_instance_t instance, double /*time*/, const uint32_t* inframe, uint32_t* outframe) {
    if (instance == nullptr) return;
    instanceOf(instance)->update(inframe, outframe);
}
