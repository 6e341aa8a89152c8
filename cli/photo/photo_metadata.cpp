#include "cli/photo/photo_metadata.h"

#include <cstring>
#include <mutex>
#include <utility>

#include "cli/photo/exiv2_compat.h"

namespace sorvel::cli {
namespace {

// The XMP toolkit is shared by the threads of a batch: it takes this lock.
std::recursive_mutex xmpMutex;

void lockXmp(void*, bool lock) {
    if (lock) {
        xmpMutex.lock();
    } else {
        xmpMutex.unlock();
    }
}

// Before any thread opens a file: the XMP toolkit is set up once, and
// exiv2's own messages are silenced (its errors come back as exceptions).
void setUpExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, nullptr);
    });
}

// Tags of the first directory that describe how a TIFF stores its pixels:
// the written file has its own.
bool describesStorage(const std::string& tag) {
    // clang-format off
    static const char* const kStorage[] = {
        "NewSubfileType", "SubfileType", "ImageWidth", "ImageLength", "BitsPerSample", "Compression",
        "PhotometricInterpretation", "FillOrder", "StripOffsets", "SamplesPerPixel", "RowsPerStrip",
        "StripByteCounts", "PlanarConfiguration", "Predictor", "TileWidth", "TileLength", "TileOffsets",
        "TileByteCounts", "SubIFDs", "ExtraSamples", "SampleFormat", "JPEGTables", "JPEGInterchangeFormat",
        "JPEGInterchangeFormatLength", "YCbCrCoefficients", "YCbCrSubSampling", "YCbCrPositioning",
        "InterColorProfile"};
    // clang-format on
    for (const char* name : kStorage)
        if (tag == name) return true;
    return false;
}

// Directories of further pictures (the thumbnail, previews) rather than of
// the photo itself: left out, for they show the ungraded photo.
bool describesOtherPicture(const std::string& group) {
    for (const char* prefix : {"Thumbnail", "Image2", "Image3", "SubImage", "SubThumb"})
        if (group.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

// exiv2 0.27 reports no access mode for the ICC profile; it stores one in
// these formats (JPEG in APP2, WebP in ICCP, TIFF in a tag). A PNG's iCCP
// it writes without the name the chunk needs, so PNG's encoder embeds it.
template <typename Type>
bool holdsIccProfile(Type type) {
    return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::tiff ||
           (type == Exiv2::ImageType::webp && exiv2::kWritesWebpIccProfile);
}

template <typename Type>
bool writable(const Exiv2::Image& image, Type type, Exiv2::MetadataId id) {
    if (id == Exiv2::mdIccProfile) return holdsIccProfile(type);
    const Exiv2::AccessMode mode = image.checkMode(id);
    return mode == Exiv2::amWrite || mode == Exiv2::amReadWrite;
}

}  // namespace

struct PhotoMetadata::Held {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    std::string icc;
};

PhotoMetadata::PhotoMetadata() : held_(std::make_unique<Held>()) {}
PhotoMetadata::~PhotoMetadata() = default;

const std::string& PhotoMetadata::iccProfile() const { return held_->icc; }

bool PhotoMetadata::empty() const {
    return held_->exif.empty() && held_->iptc.empty() && held_->xmp.empty() && held_->icc.empty();
}

std::string PhotoMetadata::read(const std::string& path) {
    setUpExiv2();
    *held_ = Held{};
    orientation_ = 1;
    try {
        if (Exiv2::ImageFactory::getType(path) == Exiv2::ImageType::none) return "";  // a format without any
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        held_->exif = image->exifData();
        held_->iptc = image->iptcData();
        held_->xmp = image->xmpData();
        if (image->iccProfileDefined()) held_->icc = exiv2::iccProfileOf(*image);
    } catch (const exiv2::Error& e) {
        *held_ = Held{};
        return e.what();
    }
    const auto exif = held_->exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    const auto xmp = held_->xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation"));
    std::int64_t value = 1;
    if (exif != held_->exif.end() && exif->count() > 0) {
        value = exiv2::integerOf(*exif);
    } else if (xmp != held_->xmp.end() && xmp->count() > 0) {
        value = exiv2::integerOf(*xmp);
    }
    orientation_ = value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    return "";
}

std::string PhotoMetadata::writeTo(const std::string& path, int width, int height,
                                   std::vector<std::string>& dropped) const {
    setUpExiv2();
    const Held& from = *held_;
    if (empty()) return "";
    try {
        const auto type = Exiv2::ImageFactory::getType(path);
        if (type == Exiv2::ImageType::none) {
            // A format exiv2 does not know holds none of it.
            for (const auto& [present, name] : {std::pair{!from.exif.empty(), "EXIF"},
                                                {!from.iptc.empty(), "IPTC"},
                                                {!from.xmp.empty(), "XMP"},
                                                {!from.icc.empty(), "the ICC profile"}})
                if (present) dropped.emplace_back(name);
            return "";
        }
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        bool changed = false;
        const auto keep = [&](bool present, Exiv2::MetadataId id, const char* name) {
            if (!present) return false;
            if (writable(*image, type, id)) return changed = true;
            dropped.emplace_back(name);
            return false;
        };
        if (keep(!from.exif.empty(), Exiv2::mdExif, "EXIF")) {
            Exiv2::ExifData exif = image->exifData();  // a TIFF's own storage tags
            for (const Exiv2::Exifdatum& datum : from.exif) {
                if (describesOtherPicture(datum.groupName())) continue;
                if (datum.groupName() == "Image" && describesStorage(datum.tagName())) continue;
                const auto old = exif.findKey(Exiv2::ExifKey(datum.key()));
                if (old != exif.end()) exif.erase(old);
                exif.add(datum);
            }
            if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
                exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(1);
            if (exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension")) != exif.end()) {
                exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(width);
                exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(height);
            }
            image->setExifData(exif);
        }
        if (keep(!from.iptc.empty(), Exiv2::mdIptc, "IPTC")) image->setIptcData(from.iptc);
        if (keep(!from.xmp.empty(), Exiv2::mdXmp, "XMP")) {
            Exiv2::XmpData xmp = from.xmp;
            if (xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")) != xmp.end())
                xmp["Xmp.tiff.Orientation"] = std::string("1");
            image->setXmpData(xmp);
        }
        const bool embedded = image->iccProfileDefined();
        if (keep(!from.icc.empty() && !embedded, Exiv2::mdIccProfile, "the ICC profile"))
            exiv2::setIccProfile(*image, from.icc);
        if (changed) image->writeMetadata();
    } catch (const exiv2::Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace sorvel::cli
