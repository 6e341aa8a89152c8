#include "cli/windows_pictures/picture_files.h"

#include <fstream>
#include <iterator>

#include "cli/files/pending_file.h"
#include "cli/grading/frame_filter.h"
#include "cli/grading/frame_size.h"
#include "cli/media/picture_io.h"
#include "cli/windows_pictures/encode_picture.h"
#include "cli/windows_pictures/metadata_blocks.h"
#include "cli/windows_pictures/picture_kind.h"

namespace sorvel::cli {

PictureOutcome filterPictureFile(const PictureFileSettings& settings) {
    if (pictureKindOf(settings.output) == PictureKind::none)
        return {"this build of sorvel writes PNG, JPEG and BMP pictures; filter video through --raw WIDTHxHEIGHT",
                true,
                {}};
    const long long maxPixels = static_cast<long long>(kMaxSide) * kMaxSide;
    PictureRead read = readPicture(settings.input, maxPixels);
    if (!read.error.empty()) return {"cannot read " + settings.input + ": " + read.error, false, {}};
    Image out(read.image.width, read.image.height);
    out.hasAlpha = read.image.hasAlpha;
    applyChain(settings.chain, read.image.pixels.data(), out.pixels.data(), out.width, out.height);
    std::ifstream in(settings.input, std::ios::binary);
    const MetadataBlocks blocks = metadataBlocksOf(
        {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    std::string file;
    std::string error = encodePicture(settings.output, out, file);
    PictureOutcome outcome;
    if (!insertMetadataBlocks(file, pictureKindOf(settings.output), blocks))
        outcome.warnings.emplace_back(
            "this build carries EXIF, XMP and the ICC profile only from JPEG to JPEG and from PNG to PNG: left out");
    if (error.empty()) error = writeWholeFile(settings.output, file);
    if (!error.empty()) outcome.error = "cannot write " + settings.output + ": " + error;
    return outcome;
}

}  // namespace sorvel::cli
