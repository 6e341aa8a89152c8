#include "cli/windows_pictures/picture_files.h"

#include "cli/frames/frame_filter.h"
#include "cli/media/picture_io.h"
#include "cli/windows_pictures/picture_kind.h"

namespace sorvel::cli {

PictureOutcome filterPictureFile(const Command& command) {
    if (pictureKindOf(command.output) == PictureKind::none)
        return {"this build of sorvel writes PNG, JPEG and BMP pictures; filter video through --raw WIDTHxHEIGHT",
                true};
    const long long maxPixels = static_cast<long long>(kMaxSide) * kMaxSide;
    PictureRead read = readPicture(command.input, maxPixels);
    if (!read.error.empty()) return {"cannot read " + command.input + ": " + read.error};
    Image out(read.image.width, read.image.height);
    out.hasAlpha = read.image.hasAlpha;
    applyChain(command.chain, read.image.pixels.data(), out.pixels.data(), out.width, out.height);
    const std::string error = writePicture(command.output, out);
    if (!error.empty()) return {"cannot write " + command.output + ": " + error};
    return {};
}

}  // namespace sorvel::cli
