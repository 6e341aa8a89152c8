// How pictures change between their stored pixel format and the filters'
// 8-bit BGRA frames: the YUV matrix and range, and the swscale contexts that
// convert with them (accurate rounding, full chroma interpolation).
#pragma once

#include <string>

#include "cli/media/av_handles.h"

namespace sorvel::cli {

struct YuvColour {
    AVColorSpace matrix = AVCOL_SPC_BT470BG;  // BT.601
    bool fullRange = false;                   // 0..255 instead of 16..235 (luma)
};

// The matrix and range of YUV pixels with these tags. Untagged ones are
// taken as players take them: BT.601 for JPEG and WebP pictures, which
// their formats define so, and for standard-definition video; BT.709 from
// 1280 wide or 577 high up. JPEG's pixel formats (yuvj*) are full range.
YuvColour yuvColourOf(AVColorSpace matrix, AVColorRange range, AVPixelFormat format, AVCodecID codec, int width,
                      int height);

bool isYuv(AVPixelFormat format);

// Bits of the deepest component, e.g. 10 for yuv420p10le.
int bitDepthOf(AVPixelFormat format);

// One swscale context at a time, made again when the source or target
// changes. threads are swscale's own slice threads.
class Scaler {
public:
    struct Ends {
        AVPixelFormat format;
        int width, height;
        YuvColour colour;  // used on a YUV end only
        bool operator==(const Ends& o) const {
            return format == o.format && width == o.width && height == o.height && colour.matrix == o.colour.matrix &&
                   colour.fullRange == o.colour.fullRange;
        }
    };
    // Converts src into dst, which has its format, size and buffers set.
    // Returns "" or the error's text.
    std::string convert(const AVFrame& src, const YuvColour& srcColour, AVFrame& dst, const YuvColour& dstColour,
                        int threads);

private:
    std::string prepare(const Ends& from, const Ends& to, int threads);
    ScalerPtr context_;
    Ends from_{}, to_{};
};

}  // namespace sorvel::cli
