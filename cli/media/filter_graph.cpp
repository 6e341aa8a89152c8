#include "cli/media/filter_graph.h"

#include <memory>

extern "C" {
#include <libavfilter/avfilter.h>
}

#include "cli/media/av_handles.h"

namespace sorvel::cli {
namespace {

struct InOutFree {
    void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};
using InOutPtr = std::unique_ptr<AVFilterInOut, InOutFree>;

}  // namespace

std::string openFilterGraph(AVFilterGraph*& graph, const char* source, const std::string& sourceArgs, const char* sink,
                            const std::string& description, AVFilterContext*& in, AVFilterContext*& out) {
    graph = avfilter_graph_alloc();
    if (graph == nullptr) return "out of memory";
    graph->nb_threads = 1;
    int error = avfilter_graph_create_filter(&in, avfilter_get_by_name(source), "in", sourceArgs.c_str(), nullptr,
                                             graph);
    if (error >= 0)
        error = avfilter_graph_create_filter(&out, avfilter_get_by_name(sink), "out", nullptr, nullptr, graph);
    if (error < 0) return avErrorText(error);
    InOutPtr outputs(avfilter_inout_alloc()), inputs(avfilter_inout_alloc());
    if (!outputs || !inputs) return "out of memory";
    outputs->name = av_strdup("in");
    outputs->filter_ctx = in;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = out;
    AVFilterInOut* ins = inputs.release();
    AVFilterInOut* outs = outputs.release();
    error = avfilter_graph_parse_ptr(graph, description.c_str(), &ins, &outs, nullptr);
    avfilter_inout_free(&ins);
    avfilter_inout_free(&outs);
    if (error >= 0) error = avfilter_graph_config(graph, nullptr);
    return error < 0 ? avErrorText(error) : "";
}

}  // namespace sorvel::cli
