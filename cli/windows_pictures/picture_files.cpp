#include "cli/windows_pictures/picture_files.h"

#include <fstream>
#include <iterator>

#include "cli/files/pending_file.h"
#include "cli/grading/frame_filter.h"
#include "cli/media/picture_io.h"
#include "cli/windows_pictures/encode_picture.h"
#include "cli/windows_pictures/metadata_blocks.h"
#include "cli/windows_pictures/picture_kind.h"

namespace sorvel::cli {

PictureOutcome filterPictureFile(const Command& command) {
    if (pictureKindOf(command.output) == PictureKind::none)
        return {"this build of sorvel writes PNG, JPEG and BMP pictures; filter video through --raw WIDTHxHEIGHT",
                true, {}};
    const long long maxPixels = static_cast<long long>(kMaxSide) * kMaxSide;
    PictureRead read = readPicture(command.input, maxPixels);
    if (!read.error.empty()) return {"cannot read " + command.input + ": " + read.error, false, {}};
    Image out(read.image.width, read.image.height);
    out.hasAlpha = read.image.hasAlpha;
    applyChain(command.chain, read.image.pixels.data(), out.pixels.data(), out.width, out.height);
    std::ifstream in(command.input, std::ios::binary);
    const MetadataBlocks blocks =
        metadataBlocksOf({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    std::string file;
    std::string error = encodePicture(command.output, out, file);
    PictureOutcome outcome;
    if (!insertMetadataBlocks(file, pictureKindOf(command.output), blocks))
        outcome.warnings.emplace_back(
            "this build carries EXIF, XMP and the ICC profile only from JPEG to JPEG and from PNG to PNG: left out");
    if (error.empty()) error = writeWholeFile(command.output, file);
    if (!error.empty()) outcome.error = "cannot write " + command.output + ": " + error;
    return outcome;
}

}  // namespace sorvel::cli
