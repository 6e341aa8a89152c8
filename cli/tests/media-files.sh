#!/bin/bash
# sorvel on picture and video files that ffmpeg makes here: lossless round
# trips compared byte for byte with the transforms (raw_compare), a JPEG
# against ffmpeg's own decoding of it, and an MP4 with sound and a
# variable-frame-rate clip whose audio packets and time stamps must come
# through unchanged.
#   media-files.sh SORVEL RAW_COMPARE MAKE_CLIP WORKDIR
set -euo pipefail
sorvel=$1 compare=$2 make_clip=$3 work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
raw() { ff -i "$1" "${@:3}" -f rawvideo -pix_fmt bgra "$2"; }
probe() { ffprobe -v error -of csv=p=0 "$@"; }
same() { cmp -s "$1" "$2" || { echo "FAIL: $3"; diff "$1" "$2" | head -5; exit 1; }; }

# FFV1 BGRA in MKV, nearly every pixel its own colour and alpha, on one and
# on two filter threads.
"$make_clip" clip
for threads in 1 2; do
    "$sorvel" yiq 150,300,300 --then hsv 200,0,0 --threads "$threads" clip/clip.mkv "clip$threads.mkv"
    raw "clip$threads.mkv" "clip$threads.raw"
done
"$compare" clip/clip.bgra clip1.raw 112 62 yiq 150,300,300 hsv 200,0,0
same clip1.raw clip2.raw "1 and 2 threads give different frames"

# A numbered PNG sequence.
ff -f lavfi -i testsrc2=size=48x32:rate=5 -frames:v 3 seq%04d.png
"$sorvel" rgb 300,0,150 seq%04d.png out%04d.png
raw seq%04d.png seq.raw
raw out%04d.png out.raw
"$compare" seq.raw out.raw 48 32 rgb 300,0,150

# A JPEG: the output is the transforms applied to the picture as ffmpeg
# decodes it with the same conversion options.
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 photo.jpg
"$sorvel" yiq 150,300,0 photo.jpg photo-out.png
raw photo.jpg photo.raw -sws_flags bicubic+accurate_rnd+full_chroma_int+full_chroma_inp
raw photo-out.png photo-out.raw
"$compare" photo.raw photo-out.raw 64 48 yiq 150,300,0
"$sorvel" yiq 150,300,0 photo.jpg brighter.jpg
[ "$(probe -show_entries stream=codec_name,width,height brighter.jpg)" = "mjpeg,64,48" ]

# H.264 and AAC in MP4: H.264 out, the audio packets byte for byte with
# their time stamps, every video frame at its time.
ff -f lavfi -i testsrc2=size=64x48:rate=25 -f lavfi -i sine=sample_rate=44100 -t 1 \
   -c:v libx264 -pix_fmt yuv420p -c:a aac holiday.mp4
"$sorvel" hsv 160,0,0 holiday.mp4 graded.mp4
[ "$(probe -select_streams v -show_entries stream=codec_name graded.mp4)" = h264 ]
for f in holiday graded; do
    ff -i "$f.mp4" -map 0:a -c copy -f framecrc - | grep -v '^#software' >"$f-audio.txt"
    probe -select_streams v -show_entries frame=pts "$f.mp4" >"$f-frames.txt"
done
same holiday-audio.txt graded-audio.txt "the audio packets changed"
same holiday-frames.txt graded-frames.txt "the video frames or their times changed"

# The display rotation (stream side data) comes through: ffmpeg 7 sets it
# with -display_rotation, ffmpeg 5 from the rotate tag.
if ffmpeg -hide_banner -h full 2>/dev/null | grep -- '-display_rotation' >/dev/null; then
    ff -display_rotation 90 -i holiday.mp4 -c copy turned.mp4
else
    ff -i holiday.mp4 -c copy -metadata:s:v:0 rotate=90 turned.mp4
fi
"$sorvel" hsv 160,0,0 turned.mp4 turned-out.mp4
for f in turned turned-out; do
    probe -select_streams v -show_entries stream_side_data=rotation "$f.mp4" | grep . >"$f-rotation.txt" || true
done
[ -s turned-rotation.txt ] || { echo "FAIL: ffmpeg made no rotated clip"; exit 1; }
same turned-rotation.txt turned-out-rotation.txt "the display rotation changed"

# A variable frame rate keeps every frame's time.
ff -f lavfi -i testsrc2=size=64x48:rate=25 -frames:v 10 -vf "setpts='N*N*3'" -fps_mode passthrough \
   -enc_time_base 1/100 -c:v libx264 vfr.mkv
"$sorvel" rgb 0,0,300 vfr.mkv vfr-out.mkv
probe -select_streams v -show_entries frame=pts vfr.mkv >vfr-frames.txt
probe -select_streams v -show_entries frame=pts vfr-out.mkv >vfr-out-frames.txt
same vfr-frames.txt vfr-out-frames.txt "the variable frame times changed"
gaps=$(awk -F, '$1 != "" { if (n++) gap[$1 - last] = 1; last = $1 } END { print length(gap) }' vfr-frames.txt)
[ "$gaps" -ge 5 ] || { echo "FAIL: the clip's frame times are not variable"; exit 1; }
echo "media files: all outputs match"
