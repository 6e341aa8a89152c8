// A libavfilter graph on one thread: a source filter (buffer or abuffer,
// with its arguments), the filters a description names, and a sink.
#pragma once

#include <string>

struct AVFilterContext;
struct AVFilterGraph;

namespace sorvel::cli {

// Allocates graph (which the caller frees with avfilter_graph_free, also
// after a failure), links source -> description -> sink and configures it.
// Returns "" or the cause.
std::string openFilterGraph(AVFilterGraph*& graph, const char* source, const std::string& sourceArgs, const char* sink,
                            const std::string& description, AVFilterContext*& in, AVFilterContext*& out);

}  // namespace sorvel::cli
