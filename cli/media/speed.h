// How much time the video encoder spends on each frame (--speed): each
// encoder's usual settings for fast, balanced and careful work.
#pragma once

namespace sorvel::cli {

enum class Speed { fast, medium, slow };

}  // namespace sorvel::cli
