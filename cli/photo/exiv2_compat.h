// What differs between exiv2 0.27 (Debian 12) and 0.28 (Debian 13), in one
// place: the error class, integer values and the ICC profile's buffer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include <exiv2/exiv2.hpp>
#if !EXIV2_TEST_VERSION(0, 28, 0)
#include <exiv2/webpimage.hpp>  // ImageType::webp, which exiv2.hpp leaves out
#endif

namespace sorvel::cli::exiv2 {

#if EXIV2_TEST_VERSION(0, 28, 0)
using Error = Exiv2::Error;

constexpr bool kWritesWebpIccProfile = true;

inline std::int64_t integerOf(const Exiv2::Metadatum& datum) { return datum.toInt64(); }

// 0.28 releases hand the profile out by pointer or by reference.
inline const Exiv2::DataBuf& bufferOf(const Exiv2::DataBuf& buffer) { return buffer; }
inline const Exiv2::DataBuf& bufferOf(const Exiv2::DataBuf* buffer) { return *buffer; }

inline std::string iccProfileOf(Exiv2::Image& image) {
    const Exiv2::DataBuf& icc = bufferOf(image.iccProfile());
    return std::string(reinterpret_cast<const char*>(icc.c_data()), icc.size());
}

inline void setIccProfile(Exiv2::Image& image, const std::string& bytes) {
    Exiv2::DataBuf icc(reinterpret_cast<const Exiv2::byte*>(bytes.data()), bytes.size());
    image.setIccProfile(std::move(icc), false);
}
#else
using Error = Exiv2::AnyError;

// 0.27 writes a WebP's ICCP chunk under the name VP8X.
constexpr bool kWritesWebpIccProfile = false;

inline std::int64_t integerOf(const Exiv2::Metadatum& datum) { return datum.toLong(); }

inline std::string iccProfileOf(Exiv2::Image& image) {
    const Exiv2::DataBuf* icc = image.iccProfile();
    return std::string(reinterpret_cast<const char*>(icc->pData_), static_cast<std::size_t>(icc->size_));
}

inline void setIccProfile(Exiv2::Image& image, const std::string& bytes) {
    Exiv2::DataBuf icc(reinterpret_cast<const Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
    image.setIccProfile(icc, false);
}
#endif

}  // namespace sorvel::cli::exiv2
