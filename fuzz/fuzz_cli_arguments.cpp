// The command line and the parameter text on arbitrary input: the input is
// split at zero bytes into arguments. Parsing either succeeds with a sound
// command or gives a one-line error; a filter chain always has three
// parameters per filter, and frame sizes stay within the accepted range.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command/arguments.h"
#include "cli/command/parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const sorvel::cli::ParsedParameters params = sorvel::cli::parseParameters(text);
    if (params.error.find('\n') != std::string::npos) std::abort();

    std::vector<std::string> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\0') {
            args.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    const sorvel::cli::ParseOutcome outcome = sorvel::cli::parseArguments(args);
    if (!outcome.error.empty()) {
        if (outcome.error.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    const sorvel::cli::Command& c = outcome.command;
    if (c.action == sorvel::cli::Action::raw) {
        if (c.frame.width < 1 || c.frame.width > sorvel::cli::kMaxSide) std::abort();
        if (c.frame.height < 1 || c.frame.height > sorvel::cli::kMaxSide) std::abort();
    }
    if ((c.action == sorvel::cli::Action::raw || c.action == sorvel::cli::Action::file) && c.chain.empty())
        std::abort();
    if (c.threads < 0 || c.threads > sorvel::cli::kMaxThreads || c.crf < -1 || c.crf > 63) std::abort();
    for (const auto& step : c.chain)
        if (step.filter == nullptr) std::abort();
    return 0;
}
