#include "png_fixtures.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace sorvel::cli::testing {
namespace {

bool writeWith(png_structp png, png_infop info, std::FILE* file, const PngSpec& shape, png_bytepp rows,
               png_colorp palette, png_color_16p transparentColour) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;  // NOLINT(cert-err52-cpp): libpng's error path
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(shape.width), static_cast<png_uint_32>(shape.height),
                 shape.bitDepth, shape.colourType, shape.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette != nullptr) png_set_PLTE(png, info, palette, static_cast<int>(shape.palette.size() / 3));
    if (!shape.transparency.empty()) {
        if (shape.colourType == PNG_COLOR_TYPE_PALETTE)
            png_set_tRNS(png, info, shape.transparency.data(), static_cast<int>(shape.transparency.size()), nullptr);
        else
            png_set_tRNS(png, info, nullptr, 0, transparentColour);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool writeSpecPng(const std::string& path, const PngSpec& shape) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::vector<std::uint8_t>> rowData = shape.rows;
    std::vector<png_bytep> rows;
    rows.reserve(rowData.size());
    for (auto& r : rowData) rows.push_back(r.data());
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < shape.palette.size(); i += 3)
        palette.push_back(png_color{shape.palette[i], shape.palette[i + 1], shape.palette[i + 2]});
    png_color_16 colour{};
    if (shape.transparency.size() >= 3) {
        colour.red = shape.transparency[0];
        colour.green = shape.transparency[1];
        colour.blue = shape.transparency[2];
    } else if (!shape.transparency.empty()) {
        colour.gray = shape.transparency[0];
    }
    const bool ok = writeWith(png, info, file, shape, rows.data(), palette.empty() ? nullptr : palette.data(), &colour);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

DecodedPng decodePng(const std::string& path) {
    DecodedPng out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return out;
    out.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_BGRA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.bgra.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    out.ok = png_image_finish_read(&image, nullptr, out.bgra.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return out;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace sorvel::cli::testing
