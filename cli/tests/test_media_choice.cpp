#include <gtest/gtest.h>

#include <string>

#include "cli/media/codec_choice.h"
#include "cli/media/colour.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace sorvel::cli {
namespace {

TEST(MediaChoice, EncoderFollowsTheSourceTheContainerAndTheOptions) {
    struct Case {
        const char* file;
        AVCodecID source;
        EncodeSettings settings;
        const char* encoder;  // "" when refused
        const char* option;   // "name=value", or "q=N" for a fixed quantiser, "" for neither
        const char* error;    // a part of the refusal
    };
    const Case cases[] = {
        {"out.mp4", AV_CODEC_ID_H264, {}, "libx264", "crf=18", ""},
        {"out.mkv", AV_CODEC_ID_HEVC, {"", 24, false}, "libx265", "crf=24", ""},
        {"out.webm", AV_CODEC_ID_H264, {}, "libvpx-vp9", "crf=18", ""},  // WebM holds no H.264
        {"out.mp4", AV_CODEC_ID_FFV1, {}, "libx264", "crf=18", ""},      // nor MP4 FFV1
        {"out.mkv", AV_CODEC_ID_FFV1, {}, "ffv1", "", ""},
        {"out.avi", AV_CODEC_ID_MPEG4, {}, "mpeg4", "q=2", ""},
        {"out.jpg", AV_CODEC_ID_NONE, {}, "mjpeg", "q=2", ""},
        {"out.png", AV_CODEC_ID_H264, {}, "png", "", ""},
        {"out%04d.tiff", AV_CODEC_ID_H264, {}, "tiff", "", ""},
        {"out.mkv", AV_CODEC_ID_H264, {"", -1, true}, "ffv1", "", ""},
        {"out.png", AV_CODEC_ID_NONE, {"", -1, true}, "png", "", ""},
        {"out.mp4", AV_CODEC_ID_H264, {"", -1, true}, "", "", "--lossless writes FFV1 video into .mkv"},
        {"out.mp4", AV_CODEC_ID_H264, {"nonesuch", -1, false}, "", "", "no video encoder named nonesuch"},
        {"out.webm", AV_CODEC_ID_VP9, {"libx264", -1, false}, "", "", "a .webm file cannot hold libx264"},
        {"out.mp4", AV_CODEC_ID_H264, {"mpeg4", 20, false}, "", "", "mpeg4 has no CRF setting"},
    };
    for (const Case& c : cases) {
        const AVOutputFormat* format = av_guess_format(nullptr, c.file, nullptr);
        ASSERT_NE(format, nullptr) << c.file;
        const EncoderChoice choice = chooseEncoder(format, c.file, c.source, c.settings);
        const std::string what = std::string(c.file) + " from " + avcodec_get_name(c.source);
        EXPECT_NE(choice.error.find(c.error), std::string::npos) << what << ": " << choice.error;
        if (*c.encoder == '\0') {
            EXPECT_EQ(choice.encoder, nullptr) << what;
            continue;
        }
        ASSERT_NE(choice.encoder, nullptr) << what << ": " << choice.error;
        EXPECT_STREQ(choice.encoder->name, c.encoder) << what;
        std::string option = choice.quantiser > 0 ? "q=" + std::to_string(choice.quantiser) : "";
        for (const auto& [name, value] : choice.options) option.append(name).append("=").append(value);
        EXPECT_EQ(option, c.option) << what;
    }
}

TEST(MediaChoice, OutputPixelsKeepTheSubsamplingInEightBitsAndStayColour) {
    struct Case {
        const char* encoder;
        AVPixelFormat source;
        bool alpha;
        AVPixelFormat expected;
    };
    const Case cases[] = {
        {"libx264", AV_PIX_FMT_YUV420P10LE, false, AV_PIX_FMT_YUV420P},
        {"libx264", AV_PIX_FMT_YUV422P, false, AV_PIX_FMT_YUV422P},
        {"png", AV_PIX_FMT_GRAY8, false, AV_PIX_FMT_RGB24},
        {"png", AV_PIX_FMT_PAL8, true, AV_PIX_FMT_RGBA},
        {"png", AV_PIX_FMT_YUVJ420P, false, AV_PIX_FMT_RGB24},
        {"ffv1", AV_PIX_FMT_BGRA, true, AV_PIX_FMT_BGRA},
        {"mjpeg", AV_PIX_FMT_YUVJ422P, false, AV_PIX_FMT_YUV422P},  // written full range
    };
    for (const Case& c : cases) {
        const AVCodec* encoder = avcodec_find_encoder_by_name(c.encoder);
        ASSERT_NE(encoder, nullptr) << c.encoder;
        EXPECT_EQ(chooseOutputFormat(encoder, c.source, c.alpha), c.expected)
            << c.encoder << " from " << av_get_pix_fmt_name(c.source) << " gave "
            << av_get_pix_fmt_name(chooseOutputFormat(encoder, c.source, c.alpha));
    }
}

TEST(MediaChoice, UntaggedYuvIsTakenAsPlayersTakeIt) {
    struct Case {
        AVColorSpace matrix;
        AVColorRange range;
        AVPixelFormat format;
        AVCodecID codec;
        int width, height;
        AVColorSpace expectedMatrix;
        bool expectedFull;
    };
    // clang-format off
    const Case cases[] = {
        {AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AV_PIX_FMT_YUV420P, AV_CODEC_ID_H264, 720, 576, AVCOL_SPC_BT470BG, false},
        {AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AV_PIX_FMT_YUV420P, AV_CODEC_ID_H264, 720, 577, AVCOL_SPC_BT709, false},
        {AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AV_PIX_FMT_YUV420P, AV_CODEC_ID_H264, 1280, 536, AVCOL_SPC_BT709, false},
        {AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AV_PIX_FMT_YUVJ420P, AV_CODEC_ID_MJPEG, 4000, 3000, AVCOL_SPC_BT470BG, true},
        {AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AV_PIX_FMT_YUV420P, AV_CODEC_ID_WEBP, 1920, 1080, AVCOL_SPC_BT470BG, false},
        {AVCOL_SPC_BT2020_NCL, AVCOL_RANGE_JPEG, AV_PIX_FMT_YUV420P10LE, AV_CODEC_ID_HEVC, 3840, 2160, AVCOL_SPC_BT2020_NCL, true},
        {AVCOL_SPC_SMPTE170M, AVCOL_RANGE_MPEG, AV_PIX_FMT_YUVJ420P, AV_CODEC_ID_H264, 1920, 1080, AVCOL_SPC_SMPTE170M, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        const YuvColour colour = yuvColourOf(c.matrix, c.range, c.format, c.codec, c.width, c.height);
        EXPECT_EQ(colour.matrix, c.expectedMatrix) << c.width << "x" << c.height << " " << avcodec_get_name(c.codec);
        EXPECT_EQ(colour.fullRange, c.expectedFull) << c.width << "x" << c.height << " " << avcodec_get_name(c.codec);
    }
}

}  // namespace
}  // namespace sorvel::cli
