// The picture formats the Windows program writes, by file name extension.
#pragma once

#include <cctype>
#include <string>

namespace sorvel::cli {

enum class PictureKind { none, png, jpeg, bmp };

inline PictureKind pictureKindOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return PictureKind::none;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png") return PictureKind::png;
    if (ext == "jpg" || ext == "jpeg") return PictureKind::jpeg;
    if (ext == "bmp") return PictureKind::bmp;
    return PictureKind::none;
}

}  // namespace sorvel::cli
