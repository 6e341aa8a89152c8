#include "cli/windows_pictures/metadata_blocks.h"

#include <cstdint>
#include <cstring>

namespace sorvel::cli {
namespace {

const char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr std::size_t kPngSignatureSize = 8;

std::size_t bigEndian(const std::string& s, std::size_t at, int bytes) {
    std::size_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return value;
}

bool isPng(const std::string& file) {
    return file.size() >= kPngSignatureSize && std::memcmp(file.data(), kPngSignature, kPngSignatureSize) == 0;
}

bool isJpeg(const std::string& file) {
    return file.size() >= 4 && static_cast<unsigned char>(file[0]) == 0xFF &&
           static_cast<unsigned char>(file[1]) == 0xD8;
}

// Calls each(offset, size, marker) for every segment between the start and
// the scan; returns false where the structure is broken.
template <typename Each>
bool forEachJpegSegment(const std::string& file, Each each) {
    std::size_t at = 2;
    while (at + 4 <= file.size()) {
        if (static_cast<unsigned char>(file[at]) != 0xFF) return false;
        const int marker = static_cast<unsigned char>(file[at + 1]);
        if (marker == 0xDA || marker == 0xD9) return true;  // the scan or the end
        const std::size_t size = 2 + bigEndian(file, at + 2, 2);
        if (size < 4 || at + size > file.size()) return false;
        each(at, size, marker);
        at += size;
    }
    return false;
}

// Calls each(offset, size, type) for every chunk; returns false where the
// structure is broken.
template <typename Each>
bool forEachPngChunk(const std::string& file, Each each) {
    std::size_t at = kPngSignatureSize;
    while (at + 12 <= file.size()) {
        const std::size_t size = 12 + bigEndian(file, at, 4);
        if (size < 12 || at + size > file.size()) return false;
        const std::string type = file.substr(at + 4, 4);
        each(at, size, type);
        if (type == "IEND") return true;
        at += size;
    }
    return false;
}

}  // namespace

MetadataBlocks metadataBlocksOf(const std::string& file) {
    MetadataBlocks found;
    bool sound = false;
    if (isJpeg(file)) {
        found.kind = PictureKind::jpeg;
        sound = forEachJpegSegment(file, [&](std::size_t at, std::size_t size, int marker) {
            if (marker == 0xE1 || marker == 0xE2) found.blocks.push_back(file.substr(at, size));
        });
    } else if (isPng(file)) {
        found.kind = PictureKind::png;
        sound = forEachPngChunk(file, [&](std::size_t at, std::size_t size, const std::string& type) {
            if (type == "iCCP" || type == "eXIf") found.blocks.push_back(file.substr(at, size));
        });
    }
    if (!sound) return {};
    return found;
}

bool insertMetadataBlocks(std::string& encoded, PictureKind kind, const MetadataBlocks& blocks) {
    if (blocks.kind != kind || blocks.blocks.empty()) return blocks.blocks.empty();
    std::size_t at = 0;
    if (kind == PictureKind::jpeg && isJpeg(encoded)) {
        at = 2;
        if (static_cast<unsigned char>(encoded[3]) == 0xE0) at += 2 + bigEndian(encoded, 4, 2);  // after JFIF
    } else if (kind == PictureKind::png && isPng(encoded) && encoded.size() >= kPngSignatureSize + 12 &&
               encoded.compare(kPngSignatureSize + 4, 4, "IHDR") == 0) {
        at = kPngSignatureSize + 12 + bigEndian(encoded, kPngSignatureSize, 4);
    }
    if (at == 0 || at > encoded.size()) return false;
    std::string joined;
    for (const std::string& block : blocks.blocks) joined += block;
    encoded.insert(at, joined);
    return true;
}

}  // namespace sorvel::cli
