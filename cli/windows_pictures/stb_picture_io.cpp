// readPicture and writePicture of cli/media/picture_io.h for the Windows program,
// which has no FFmpeg libraries: stb_image reads JPEG, PNG, BMP and TGA, and
// stb_image_write writes PNG, JPEG (quality 95) and BMP, chosen by the
// written file's extension. Files are written whole or not at all.
#include "cli/media/picture_io.h"

#include <cerrno>
#include <cstdio>

#include "cli/files/error_text.h"
#include "cli/files/pending_file.h"
#include "cli/windows_pictures/encode_picture.h"
#include "cli/windows_pictures/picture_kind.h"

#include <stb_image.h>
#include <stb_image_write.h>

namespace sorvel::cli {
namespace {

constexpr int kJpegQuality = 95;

void append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

PictureRead readPicture(const std::string& path, long long maxPixels) {
    PictureRead read;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        read.error = errorText(errno);
        return read;
    }
    int width = 0, height = 0, channels = 0;
    unsigned char* rgba = nullptr;
    if (stbi_info_from_file(file, &width, &height, &channels) != 0 && maxPixels > 0 &&
        static_cast<long long>(width) * height > maxPixels) {
        read.error = "its picture of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels is too large";
    } else {
        rgba = stbi_load_from_file(file, &width, &height, &channels, 4);
        if (rgba == nullptr)
            read.error = std::string("its picture data cannot be decoded (") + stbi_failure_reason() + ")";
    }
    std::fclose(file);
    if (rgba == nullptr) return read;
    Image image(width, height);
    image.hasAlpha = channels == 2 || channels == 4;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = rgba + 4 * i;
        image.pixels[i] = static_cast<Pixel32>(p[2]) | static_cast<Pixel32>(p[1]) << 8 |
                          static_cast<Pixel32>(p[0]) << 16 | static_cast<Pixel32>(p[3]) << 24;
    }
    stbi_image_free(rgba);
    read.image = std::move(image);
    return read;
}

std::string writePicture(const std::string& path, const Image& image) {
    std::string file;
    const std::string error = encodePicture(path, image, file);
    return error.empty() ? writeWholeFile(path, file) : error;
}

std::string encodePicture(const std::string& path, const Image& image, std::string& file) {
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::none) return "no known file format has this name's extension";
    // Only PNG keeps alpha: JPEG has none, and few readers take it from a BMP.
    const int channels = image.hasAlpha && kind == PictureKind::png ? 4 : 3;
    std::vector<unsigned char> bytes(image.pixels.size() * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const Pixel32 p = image.pixels[i];
        unsigned char* out = bytes.data() + i * static_cast<std::size_t>(channels);
        out[0] = static_cast<unsigned char>(redOf(p));
        out[1] = static_cast<unsigned char>(greenOf(p));
        out[2] = static_cast<unsigned char>(blueOf(p));
        if (channels == 4) out[3] = static_cast<unsigned char>(p >> 24);
    }
    file.clear();
    int done = 0;
    switch (kind) {
        case PictureKind::png:
            done = stbi_write_png_to_func(append, &file, image.width, image.height, channels, bytes.data(),
                                          image.width * channels);
            break;
        case PictureKind::jpeg:
            done = stbi_write_jpg_to_func(append, &file, image.width, image.height, channels, bytes.data(),
                                          kJpegQuality);
            break;
        case PictureKind::bmp:
            done = stbi_write_bmp_to_func(append, &file, image.width, image.height, channels, bytes.data());
            break;
        case PictureKind::none: break;
    }
    return done == 0 ? "the picture cannot be encoded" : "";
}

}  // namespace sorvel::cli
