// A picture's metadata carried over byte for byte, for the Windows program,
// which has no metadata library: a JPEG's APP1 (EXIF, XMP) and APP2 (ICC
// profile) segments into the written JPEG, a PNG's iCCP and eXIf chunks into
// the written PNG.
#pragma once

#include <string>
#include <vector>

#include "cli/windows_pictures/picture_kind.h"

namespace sorvel::cli {

struct MetadataBlocks {
    PictureKind kind = PictureKind::none;  // the format the blocks come from
    std::vector<std::string> blocks;       // whole segments or chunks, as in the file
};

// The blocks of a JPEG or PNG file's bytes; none for other formats or
// damaged structure.
MetadataBlocks metadataBlocksOf(const std::string& file);

// encoded (a JPEG or PNG file's bytes, of kind) with the blocks put in: JPEG
// segments after the start (and a JFIF APP0), PNG chunks after IHDR. Returns
// false, leaving encoded as it was, when the blocks are of another format.
bool insertMetadataBlocks(std::string& encoded, PictureKind kind, const MetadataBlocks& blocks);

}  // namespace sorvel::cli
