#include "cli/png_io.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "cli/arguments.h"

namespace sorvel::cli {
namespace {

std::string describe(int errnum) { return std::error_code(errnum, std::generic_category()).message(); }

// What libpng's callbacks share with the code that drives it. libpng reports
// a fatal error by a longjmp to the point set with setjmp, its documented
// mechanism; the functions that set such a point hold no C++ objects of
// their own, so the jump skips no destructor.
struct PngContext {
    std::FILE* file = nullptr;
    char message[256] = "";
};

void keepMessage(PngContext& ctx, const char* text) {
    std::snprintf(ctx.message, sizeof ctx.message, "%s", text);
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    if (ctx->message[0] == '\0') keepMessage(*ctx, message);
    png_longjmp(png, 1);
}

// Warnings concern ancillary chunks (text, profiles); the pixels are fine.
void onWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void readData(png_structp png, png_bytep data, std::size_t length) {
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    errno = 0;
    if (std::fread(data, 1, length, ctx->file) == length) return;
    if (std::ferror(ctx->file) != 0)
        keepMessage(*ctx, describe(errno != 0 ? errno : EIO).c_str());
    else
        keepMessage(*ctx, "the file ends early (truncated)");
    png_error(png, ctx->message);
}

void writeData(png_structp png, png_bytep data, std::size_t length) {
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    errno = 0;
    if (std::fwrite(data, 1, length, ctx->file) == length) return;
    keepMessage(*ctx, describe(errno != 0 ? errno : EIO).c_str());
    png_error(png, ctx->message);
}

void flushData(png_structp /*png*/) {}

struct Reader {
    PngContext ctx;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    Reader() : png(png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, onError, onWarning)) {
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~Reader() {
        if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    }
};

struct Writer {
    PngContext ctx;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    Writer() : png(png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, onError, onWarning)) {
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~Writer() {
        if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    }
};

struct Header {
    png_uint_32 width = 0, height = 0;
    bool hasAlpha = false;
};

// Reads the chunks before the image data and sets up the conversion to
// 8-bit BGRA. The signature has been read and checked already.
bool readHeader(Reader& r, Header& header) {
    if (setjmp(png_jmpbuf(r.png)) != 0) return false;  // NOLINT(cert-err52-cpp): libpng's error path
    png_set_read_fn(r.png, &r.ctx, readData);
    png_set_sig_bytes(r.png, 8);
    png_set_user_limits(r.png, kMaxSide, kMaxSide);
    png_read_info(r.png, r.info);
    int depth = 0, colourType = 0;
    png_get_IHDR(r.png, r.info, &header.width, &header.height, &depth, &colourType, nullptr,
                 nullptr, nullptr);
    if (depth == 16) {
        keepMessage(r.ctx, "16-bit PNG images are not supported; the filters work on 8 bits per "
                           "channel (convert first, e.g. with ffmpeg -pix_fmt rgba)");
        return false;
    }
    header.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(r.png);
    if (png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(r.png);
        header.hasAlpha = true;
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    if (!header.hasAlpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != header.width * 4) {
        keepMessage(r.ctx, "unexpected row layout after conversion");
        return false;
    }
    return true;
}

bool readRows(Reader& r, png_bytepp rows) {
    if (setjmp(png_jmpbuf(r.png)) != 0) return false;  // NOLINT(cert-err52-cpp): libpng's error path
    png_read_image(r.png, rows);
    png_read_end(r.png, nullptr);
    return true;
}

bool writeRows(Writer& w, const Image& image, png_bytepp rows) {
    if (setjmp(png_jmpbuf(w.png)) != 0) return false;  // NOLINT(cert-err52-cpp): libpng's error path
    png_set_write_fn(w.png, &w.ctx, writeData, flushData);
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8,
                 image.hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(w.png, w.info);
    png_set_bgr(w.png);
    if (!image.hasAlpha) png_set_filler(w.png, 0, PNG_FILLER_AFTER);
    png_write_image(w.png, rows);
    png_write_end(w.png, nullptr);
    return true;
}

template <class Byte>
std::vector<Byte*> rowPointers(Byte* first, int width, int height) {
    std::vector<Byte*> rows(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = first + y * static_cast<std::size_t>(width) * 4;
    return rows;
}

// Creates a new file next to path for the data, under a name nothing else uses.
std::string createBeside(const std::string& path, int& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + ".sorvel-" + std::to_string(getpid()) + "-" +
                           std::to_string(attempt) + ".tmp";
        fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return name;
    }
    errno = EEXIST;
    return "";
}

}  // namespace

PngRead readPng(std::FILE* file) {
    PngRead out;
    png_byte signature[8] = {};
    const std::size_t got = std::fread(signature, 1, sizeof signature, file);
    if (got != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0) {
        out.error = std::ferror(file) != 0 ? describe(errno != 0 ? errno : EIO) : "not a PNG file";
        return out;
    }
    Reader reader;
    reader.ctx.file = file;
    Header header;
    if (reader.png == nullptr || reader.info == nullptr) {
        out.error = "out of memory";
    } else if (readHeader(reader, header)) {
        Image image(static_cast<int>(header.width), static_cast<int>(header.height));
        image.hasAlpha = header.hasAlpha;
        std::vector<png_bytep> rows =
            rowPointers(reinterpret_cast<png_bytep>(image.pixels.data()), image.width, image.height);
        if (readRows(reader, rows.data()))
            out.image = std::move(image);
        else
            out.error = reader.ctx.message;
    } else {
        out.error = reader.ctx.message;
    }
    return out;
}

PngRead readPng(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        PngRead out;
        out.error = describe(errno);
        return out;
    }
    PngRead out = readPng(file);
    std::fclose(file);
    return out;
}

std::string writePng(const std::string& path, const Image& image) {
    int fd = -1;
    const std::string temporary = createBeside(path, fd);
    if (fd < 0) return describe(errno);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int errnum = errno;
        close(fd);
        unlink(temporary.c_str());
        return describe(errnum);
    }
    std::string error;
    {
        Writer writer;
        writer.ctx.file = file;
        // libpng takes non-const row pointers but does not write through them.
        std::vector<png_bytep> rows = rowPointers(
            const_cast<png_bytep>(reinterpret_cast<const png_byte*>(image.pixels.data())),
            image.width, image.height);
        if (writer.png == nullptr || writer.info == nullptr)
            error = "out of memory";
        else if (!writeRows(writer, image, rows.data()))
            error = writer.ctx.message;
    }
    errno = 0;
    if (std::fclose(file) != 0 && error.empty()) error = describe(errno != 0 ? errno : EIO);
    if (error.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) error = describe(errno);
    if (!error.empty()) unlink(temporary.c_str());
    return error;
}

}  // namespace sorvel::cli
