// A photo's EXIF, IPTC, XMP and ICC profile, read from the input picture and
// written into the graded one (through exiv2). The written copy says
// Orientation 1, for its pixels are stored the way the photo is shown, and
// has no EXIF thumbnail, which would show the ungraded photo.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sorvel::cli {

class PhotoMetadata {
public:
    PhotoMetadata();
    ~PhotoMetadata();
    PhotoMetadata(const PhotoMetadata&) = delete;
    PhotoMetadata& operator=(const PhotoMetadata&) = delete;

    // Reads what path holds. A file exiv2 does not know, or whose metadata
    // is damaged, holds nothing; the cause is returned for a warning, or "".
    std::string read(const std::string& path);

    // The EXIF (or else XMP) Orientation, 1 to 8; 1 when there is none.
    int orientation() const { return orientation_; }
    bool empty() const;
    // The ICC profile's bytes, or "".
    const std::string& iccProfile() const;

    // Writes the metadata into the finished picture at path, whose pixels are
    // width x height and upright. What its format cannot hold is named in
    // dropped ("EXIF", "IPTC", "XMP", "the ICC profile"). A profile that the
    // encoder already embedded stays. Returns "" or the cause.
    std::string writeTo(const std::string& path, int width, int height, std::vector<std::string>& dropped) const;

private:
    struct Held;
    std::unique_ptr<Held> held_;
    int orientation_ = 1;
};

}  // namespace sorvel::cli
