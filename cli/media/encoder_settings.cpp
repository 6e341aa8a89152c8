#include "cli/media/encoder_settings.h"

#include <cstdlib>
#include <cstring>

namespace sorvel::cli {
namespace {

bool named(const EncoderChoice& choice, const char* name) { return std::strcmp(choice.encoder->name, name) == 0; }

// fast, medium, slow
const char* pick(Speed speed, const char* fast, const char* medium, const char* slow) {
    return speed == Speed::fast ? fast : speed == Speed::slow ? slow : medium;
}

}  // namespace

void addSpeed(EncoderChoice& choice, Speed speed) {
    auto& o = choice.options;
    if (choice.encoder == nullptr) return;
    if (named(choice, "libx264") || named(choice, "libx264rgb") || named(choice, "libx265")) {
        o.emplace_back("preset", pick(speed, "veryfast", "medium", "slow"));
    } else if (named(choice, "libvpx") || named(choice, "libvpx-vp9")) {
        o.emplace_back("deadline", "good");
        // VP9's good deadline ran slower at 5 than at 4 (libvpx 1.12, 720p).
        const bool vp9 = named(choice, "libvpx-vp9");
        o.emplace_back("cpu-used", pick(speed, vp9 ? "4" : "5", "3", "1"));
        if (vp9) o.emplace_back("row-mt", "1");
    } else if (named(choice, "libsvtav1")) {
        o.emplace_back("preset", pick(speed, "12", "10", "8"));  // 10: its own default
    } else if (named(choice, "libaom-av1")) {
        o.emplace_back("cpu-used", pick(speed, "8", "6", "4"));
        o.emplace_back("row-mt", "1");
    }
}

bool encodesSlowly(AVCodecID codec) {
    return codec == AV_CODEC_ID_CINEPAK || codec == AV_CODEC_ID_ROQ || codec == AV_CODEC_ID_A64_MULTI ||
           codec == AV_CODEC_ID_A64_MULTI5;
}

void limitEncoderLogging(EncoderChoice& choice, bool quiet) {
    if (choice.encoder == nullptr) return;
    if (named(choice, "libx265")) {
        choice.options.emplace_back("x265-params", quiet ? "log-level=error" : "log-level=warning");
    } else if (named(choice, "libsvtav1")) {
        // SVT-AV1 reads its level when it starts: 1 errors, 2 warnings too.
        setenv("SVT_LOG", quiet ? "1" : "2", 0);  // NOLINT(concurrency-mt-unsafe): no other thread reads it
    }
}

}  // namespace sorvel::cli
