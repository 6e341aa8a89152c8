// The written file: the filtered video, encoded, and copies of the source's
// other streams (sound that the container cannot hold encoded anew), muxed
// into the container that the file name's extension names. Everything goes to a temporary file first (see PendingOutput).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/files/output_file.h"
#include "cli/media/av_handles.h"
#include "cli/media/codec_choice.h"
#include "cli/media/colour.h"
#include "cli/media/gif_palette.h"
#include "cli/media/output_times.h"
#include "cli/media/sound_encoder.h"
#include "cli/media/video_source.h"

namespace sorvel::cli {

class MediaOutput {
public:
    MediaOutput() = default;
    MediaOutput(const MediaOutput&) = delete;
    MediaOutput& operator=(const MediaOutput&) = delete;
    ~MediaOutput();

    // Picks the container from path and reserves the temporary file.
    // Returns "" or the cause.
    std::string create(const std::string& path, const EncodeSettings& settings, int threads);

    // Copies every stream of input but the filtered one (audio, subtitles,
    // data, attachments) where the container holds it. Sound it does not
    // hold is encoded with the container's usual sound codec, with a note;
    // anything else is left out with a warning. Call before start.
    void copyStreams(const AVFormatContext& input, int videoIndex, std::vector<std::string>& warnings);

    // Opens the encoder for frames like the source's and writes the header.
    std::string start(const VideoSource& source, std::vector<std::string>& warnings);
    bool started() const { return started_; }

    // Converts a filtered BGRA frame, which carries its time stamps in the
    // source's time base, and encodes it.
    std::string writeFrame(const AVFrame& bgra);

    // A packet of a copied or encoded input stream, timed in that stream's
    // time base. Packets that come before start are kept until then.
    std::string writeCopy(AVPacket& packet, AVRational timeBase);

    // Drains the encoder, ends the file and renames it into place; a single
    // picture's temporary file goes through beforeCommit first (which
    // returns "" or the cause).
    std::string finish(const std::function<std::string(const std::string& temporary)>& beforeCommit = {});

    // Whether the file is one picture: a picture format that is not a
    // numbered sequence, or a WebP file of one frame.
    bool singlePicture() const;

    // An ICC profile for the encoders that embed one themselves (PNG's).
    // Returns whether this encoder does.
    bool embedIccProfile(const std::string& profile);

private:
    std::string encodeAndWrite(const AVFrame* frame);
    std::string writePacket(AVPacket& packet, AVRational from, int streamIndex);
    std::string writeSound(SoundEncoder& sound, const AVPacket* packet);
    bool holds(const AVCodecParameters& par) const;

    std::string path_;
    EncodeSettings settings_;
    int threads_ = 1;
    PendingOutput pending_;
    AVFormatContext* format_ = nullptr;
    CodecPtr encoder_;
    AVStream* video_ = nullptr;
    std::vector<int> copies_;                              // output stream of each input stream; -1 for none
    std::map<int, std::unique_ptr<SoundEncoder>> sounds_;  // by input stream: sound encoded, not copied
    struct Early {
        PacketPtr packet;
        AVRational timeBase;
    };
    std::deque<Early> early_;  // copied packets that came before start
    FramePtr converted_;
    FramePtr padded_;  // the filtered frame with the rows or columns the encoder needs added
    Scaler scaler_;
    std::unique_ptr<GifPalette> gif_;  // GIF frames wait for their palette
    YuvColour colour_;
    AVRational sourceTimeBase_{1, 25};
    OutputTimes times_;
    // The first frame's time: frames are encoded from it, so that coarse
    // encoder time bases (one tick a frame) keep the start exact.
    std::int64_t origin_ = AV_NOPTS_VALUE;
    std::int64_t lastPts_ = AV_NOPTS_VALUE;
    std::map<std::int64_t, std::int64_t> durations_;  // of frames in the encoder, by time stamp
    std::string iccProfile_;                          // for the encoder to embed
    bool started_ = false, single_ = false;
    long frames_ = 0, pictureFiles_ = 0;
};

}  // namespace sorvel::cli
