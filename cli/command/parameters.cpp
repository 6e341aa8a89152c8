#include "cli/command/parameters.h"
#include "cli/command/quoted.h"

#include <charconv>
#include <cstddef>

namespace sorvel::cli {
namespace {

std::string_view trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Strips "Config(" ... ")" (after an optional "object." path and before an
// optional ";") and returns the list inside; a plain list comes back as it is.
std::string_view unwrapConfig(std::string_view text, bool& malformed) {
    std::string_view s = trim(text);
    if (!s.empty() && s.back() == ';') s = trim(s.substr(0, s.size() - 1));
    const std::size_t open = s.find('(');
    if (open == std::string_view::npos) return s;
    std::string_view head = trim(s.substr(0, open));
    const std::size_t dot = head.rfind('.');
    if (dot != std::string_view::npos) head = head.substr(dot + 1);
    if (head != "Config" || s.back() != ')') {
        malformed = true;
        return s;
    }
    return s.substr(open + 1, s.size() - open - 2);
}

}  // namespace

ParsedParameters parseParameters(std::string_view text) {
    ParsedParameters out;
    bool malformed = false;
    std::string_view list = unwrapConfig(text, malformed);
    if (malformed) {
        out.error = "parameters " + quoted(text) + " are neither a,b,c nor Config(a, b, c)";
        return out;
    }
    std::vector<std::string_view> items;
    for (;;) {
        const std::size_t comma = list.find(',');
        items.push_back(trim(list.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    if (items.size() != 3) {
        out.error = "a filter takes three parameters a,b,c, but " + quoted(text) + " has " +
                    std::to_string(items.size());
        return out;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        std::string_view item = items[i];
        if (item.size() > 1 && item.front() == '+' && item[1] != '-') item.remove_prefix(1);
        std::int32_t value = 0;
        const char* end = item.data() + item.size();
        const auto [ptr, ec] = std::from_chars(item.data(), end, value);
        if (item.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
            out.error = "parameter " + quoted(items[i]) + " is not a whole number";
            return out;
        }
        if (ec == std::errc::result_out_of_range) {
            out.error = "parameter " + quoted(items[i]) + " lies beyond the 32-bit range -2147483648..2147483647";
            return out;
        }
        out.values[i] = value;
    }
    return out;
}

std::vector<std::string> rangeWarnings(const FilterStep& step) {
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::int32_t v = step.parameters[i];
        if (v >= kParameterMin && v <= kParameterMax) continue;
        warnings.push_back(std::string(step.filter->name) + " " + step.filter->parameters[i].name + " " +
                           std::to_string(v) + " lies outside 0..300; used as given, as a processing script would");
    }
    return warnings;
}

}  // namespace sorvel::cli
