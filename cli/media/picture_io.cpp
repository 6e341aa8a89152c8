#include "cli/media/picture_io.h"

#include <algorithm>
#include <cstring>

#include "cli/media/decoded_frames.h"
#include "cli/media/media_input.h"
#include "cli/media/media_output.h"

namespace sorvel::cli {

PictureRead readPicture(const std::string& path, long long maxPixels) {
    captureLibraryLog();
    clearLibraryLog();
    PictureRead read;
    MediaInput input;
    read.error = input.open(path, maxPixels);
    if (!read.error.empty()) return read;
    const FramePtr decoded(av_frame_alloc());
    const PacketPtr packet(av_packet_alloc());
    if (!decoded || !packet) return {Image{}, "out of memory", {}};
    for (;;) {
        const MediaInput::Next next = input.next(*decoded, *packet, read.error);
        if (next == MediaInput::Next::error) return read;
        if (next == MediaInput::Next::end) return {Image{}, "it holds no picture", {}};
        if (next == MediaInput::Next::frame) break;
        av_packet_unref(packet.get());
    }
    FrameToBgra toBgra;
    read.error = toBgra.convert(*decoded, input.codec(), 1, read.warnings);
    if (!read.error.empty()) return read;
    const AVFrame& bgra = toBgra.frame();
    Image image(bgra.width, bgra.height);
    image.hasAlpha = toBgra.alpha();
    const auto rowBytes = static_cast<std::size_t>(bgra.width) * 4;
    for (int y = 0; y < bgra.height; ++y)
        std::memcpy(&image.at(0, y), bgra.data[0] + static_cast<std::ptrdiff_t>(y) * bgra.linesize[0], rowBytes);
    read.image = std::move(image);
    return read;
}

std::string writePicture(const std::string& path, const Image& image) {
    captureLibraryLog();
    clearLibraryLog();
    MediaOutput output;
    std::string error = output.create(path, EncodeSettings{}, 1);
    if (!error.empty()) return error;
    VideoSource source;
    source.width = image.width;
    source.height = image.height;
    source.alpha = image.hasAlpha;
    source.lossless = true;  // the pictures in memory are exact
    source.onePicture = true;
    std::vector<std::string> warnings;
    error = output.start(source, warnings);
    if (!error.empty()) return error;
    const FramePtr frame(av_frame_alloc());
    if (!frame) return "out of memory";
    frame->format = AV_PIX_FMT_BGRA;
    frame->width = image.width;
    frame->height = image.height;
    frame->pts = 0;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return "out of memory";
    const auto rowBytes = static_cast<std::size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0],
                    image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width),
                    rowBytes);
    error = output.writeFrame(*frame);
    return error.empty() ? output.finish() : error;
}

}  // namespace sorvel::cli
