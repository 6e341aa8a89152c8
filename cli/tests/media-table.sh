#!/bin/bash
# sorvel on media files that ffmpeg makes here, one table: each row is a
# source, the sorvel command and the properties of the source that the
# output must keep, each asked of ffprobe for both files; or an input that
# must be refused with its own message, leaving no output behind.
#   media-table.sh SORVEL RAW_COMPARE MAKE_CLIP LUT_ERROR WORKDIR
set -uo pipefail
sorvel=$1 compare=$2 make_clip=$3 error=$4 work=$5
# shellcheck source=lib/rows.sh
. "$(dirname "$0")/lib/rows.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# --- Sources: about ten frames of 64x48 each ---------------------------------
video=(-f lavfi -i testsrc2=size=64x48:rate=25:duration=0.4)
audio=(-f lavfi -i sine=sample_rate=44100:duration=0.4)
"$make_clip" clip                                       # FFV1 BGRA with alpha
# MP4: tagged full-range BT.709, a title and a display rotation.
ff "${video[@]}" "${audio[@]}" -c:v libx264 -pix_fmt yuv420p -color_range pc -color_primaries bt709 \
   -color_trc bt709 -colorspace bt709 -c:a aac -metadata title=Holiday -movflags +faststart plain.mp4
if ffmpeg -hide_banner -h full 2>/dev/null | grep -- -display_rotation >/dev/null; then  # ffmpeg 7 (grep reads all: pipefail)
    ff -display_rotation 90 -i plain.mp4 -c copy holiday.mp4
else
    ff -i plain.mp4 -c copy -metadata:s:v:0 rotate=90 holiday.mp4
fi
# MKV: variable frame times, chapters, stream titles and dispositions.
printf ';FFMETADATA1\ntitle=Walk\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=100\nEND=200\ntitle=One\n' >chapters.txt
ff "${video[@]}" "${audio[@]}" -i chapters.txt -map 0:v -map 1:a \
   -map_metadata 2 -vf "setpts='N*N*3'" -fps_mode passthrough -enc_time_base 1/100 \
   -c:v libx264 -c:a flac -disposition:v:0 default+visual_impaired -disposition:a:0 comment \
   -metadata:s:a:0 title=Narration walk.mkv
# MKV with an average rate (from MP4) unlike its base rate: its first frames
# come closer than one period of it.
ff -i walk.mkv -map 0:v -c copy walk.mp4 && ff -i walk.mp4 -c copy paced.mkv
# MOV: 10 bits, and a last frame that lasts half a second.
ff "${video[@]}" "${audio[@]}" -c:v prores_ks -c:a pcm_s16le even.mov
ff -i even.mov -c copy -bsf:v "setts=duration=if(eq(N\,9)\,6400\,DURATION)" clip.mov
# MP4 with AAC sound at 48 kHz, a rate Opus takes too; WebM cannot hold AAC.
ff "${video[@]}" -f lavfi -i sine=sample_rate=48000:duration=0.4 -c:v libx264 -c:a aac voice.mp4
ff "${video[@]}" "${audio[@]}" -c:v mpeg4 -c:a libmp3lame old.avi
ff "${video[@]}" "${audio[@]}" -c:v libvpx -c:a libvorbis web.webm
ff "${video[@]}" "${audio[@]}" -vf setsar=16/11 -c:v mpeg2video -c:a aac broadcast.ts  # anamorphic
ff "${video[@]}" -c:v libx264 camera.h264              # no time stamps at all
ff "${video[@]}" -c:v mpeg2video camera.m2v            # all but the last frame's
ff -i camera.h264 camera-ffmpeg.mkv                     # what ffmpeg makes of them
ff -i camera.m2v camera-ffmpeg.mp4
ff -f lavfi -i testsrc2=size=48x32:rate=5 -frames:v 2 seq%04d.png
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 photo.jpg
# 16 bits: the levels of levels.png, each 100/65535 below its exact value v * 257.
ff -f lavfi -i color=size=40x30 -frames:v 1 -vf "format=gbrp,geq=r='(X+1)*6':g='(Y+1)*8':b='(X+Y+1)*3'" \
   -pix_fmt rgb24 levels.png
ff -f lavfi -i color=size=40x30 -frames:v 1 -pix_fmt rgb48be \
   -vf "format=gbrp16le,geq=r='(X+1)*6*257-100':g='(Y+1)*8*257-100':b='(X+Y+1)*3*257-100'" deep.png
# GIFs: delays of 0.1, 0.3 and 4 s; transparency; more colours than a
# palette holds (3,072 in each frame: FFmpeg 5.1's palette comes within 33
# levels of each, a fixed 3-3-2 palette within 83).
palette="split[a][b];[a]palettegen[p];[b][p]paletteuse"
ff -f lavfi -i testsrc2=size=64x48:rate=10:duration=0.3 -vf "settb=1/100,setpts='N*N*10',$palette" \
   -final_delay 400 delays.gif
ff -i clip/clip.mkv -vf "$palette" transparent.gif
# FFmpeg 6 and later make their palettes in OkLab: a GIF's own colours come
# back within a level (FFmpeg 5.1: exactly), the gradient within 91 (5.1: 33).
if [ "$(ffmpeg -version | sed -n 's/^libavfilter *\([0-9]*\)\..*/\1/p')" -ge 9 ]; then
    own_colours=error=1 many_colours=error=91
else
    own_colours=pixels=112x62 many_colours=error=50
fi
ff -f lavfi -i "color=size=64x48:rate=10:duration=0.3,format=gbrp,geq=r='X*4':g='Y*5':b='128+N*40'" \
   -c:v ffv1 -pix_fmt bgr0 gradient.mkv
ff -f lavfi -i testsrc2=size=64x64:rate=25:duration=0.2 -c:v libx264 square.mp4  # SVT-AV1's least size
ff "${video[@]}" -c:v cinepak cinepak.avi
# Inputs to refuse.
ff -f lavfi -i testsrc2=size=64x48:rate=25:duration=0.4 -c:v libx264 -x264-params keyint=1 intra.mkv
cp intra.mkv damaged.mkv                                 # its last frame partly overwritten
pos=$(probe -select_streams v -show_entries packet=pos intra.mkv | tail -1)
size=$(probe -select_streams v -show_entries packet=size intra.mkv | tail -1)
tail -c +500 camera.h264 | head -c 40 | dd of=damaged.mkv bs=1 seek=$((pos + size / 3)) conv=notrunc status=none
last=$(probe -select_streams v -show_entries packet=pos plain.mp4 | sort -n | tail -1)
head -c "$last" plain.mp4 >short.mp4                     # its last video frame cut off
head -c 4000 holiday.mp4 >headless.mp4                    # the index at its end cut off
ff -f lavfi -i testsrc2=size=32x24:rate=25:duration=0.2 -c:v libx264 small.h264
cat camera.h264 small.h264 >sizes.h264
ff "${audio[@]}" -i levels.png -map 0 -map 1 -c:a aac -c:v png -disposition:v attached_pic song.m4a
# Lossless codecs, whose output must stay exact.
ff "${video[@]}" -c:v ffv1 -pix_fmt yuv420p lossless.mkv
ff "${video[@]}" -c:v utvideo -pix_fmt yuv420p lossless.avi
ff "${video[@]}" -c:v huffyuv -pix_fmt yuv422p huffyuv.avi
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 -c:v libwebp -lossless 1 lossless.webp
# libwebp keeps no colour under fully transparent pixels: none here.
ff -i clip/clip.mkv -frames:v 1 -vf "lutrgb=a='max(val,1)'" -update 1 transparent.png

# --- The properties, each as ffprobe reports it ------------------------------
# property NAME FILE: prints what FILE says of NAME.
property() {
    case $1 in
    frames) probe -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "$2" ;;
    size) probe -select_streams v:0 -show_entries stream=width,height "$2" ;;
    aspect) probe -select_streams v:0 -show_entries stream=sample_aspect_ratio "$2" ;;
    rate) probe -select_streams v:0 -show_entries stream=avg_frame_rate "$2" ;;
    times) probe -select_streams v:0 -show_entries frame=best_effort_timestamp_time "$2" ;;
    # The frame times from the first: ffmpeg 7's own conversion of an MPEG-2
    # stream starts at 0, where its first frame says one period.
    spacing) property times "$2" | awk 'NR == 1 { t0 = $1 } { printf "%.6f\n", $1 - t0 }' ;;
    duration) probe -show_entries format=duration:stream=duration "$2" ;;
    durations) probe -select_streams v:0 -show_entries frame=pkt_duration_time,duration_time "$2" ;;  # ffprobe 5, 7
    audio) probe -select_streams a -show_data_hash CRC32 -show_entries packet=pts_time,duration_time,size,data_hash "$2" |
           awk '/^[-0-9.]+$/ { $0 = sprintf("%.3f", $0) } 1' ;;  # Matroska keeps milliseconds
    title) probe -show_entries format_tags=title:stream_tags=title:chapter=start_time,end_time "$2" ;;
    rotation) probe -select_streams v:0 -show_entries stream_side_data=rotation "$2" ;;
    dispositions) probe -show_entries stream=codec_type:stream_disposition "$2" ;;
    colour) probe -select_streams v:0 -show_entries stream=color_range,color_space,color_transfer,color_primaries "$2" ;;
    esac
}
# samples FILE: the samples of FILE's sound, as decoded, and the most in a frame.
samples() {
    probe -select_streams a:0 -show_entries frame=nb_samples "$1" |
        awk '{ n += $1; if ($1 > m) m = $1 } END { print n, m }'
}
# loudness FILE: the mean volume of FILE's sound in dB.
loudness() { ffmpeg -nostdin -hide_banner -i "$1" -map 0:a:0 -af volumedetect -f null - 2>&1 | sed -n 's/.*mean_volume: //p'; }

# Each row: SOURCE | sorvel's arguments before the file names | OUTPUT | checks,
# where a check is a property to compare with the source; like=FILE to
# compare with FILE instead; codec=NAME of the output's video; pixels=WxH,
# every byte against the filters applied to the source (raw_compare);
# error=N, no channel of a pixel more than N levels from them (lut_error);
# x264=SETTING, one of x264's settings written into the output; sound=CODEC,CODEC, the sound
# encoded with one of them at the source's sample rate, as long within one of its frames and
# as loud within 1 dB;
# warns=TEXT_WITH_UNDERSCORES; lines=N, as many lines on standard error; progress, the total on a terminal; encoder,
# the source's encoder tag left behind; or refused=MESSAGE.
rows=(
"clip/clip.mkv | yiq 150,300,300 --then hsv 200,0,0 --threads 1 | clip1.mkv | pixels=112x62 frames"
"clip/clip.mkv | yiq 150,300,300 --then hsv 200,0,0 --threads 3 | clip3.mkv | pixels=112x62"
"holiday.mp4 | hsv 160,0,0 | graded.mp4 | codec=h264 x264=subme=7 frames rate times duration audio title rotation colour"
"plain.mp4 | hsv 160,0,0 --speed fast | fast.mp4 | x264=subme=2"
"plain.mp4 | hsv 160,0,0 --crf 30 | crf.mp4 | x264=crf=30.0"
"plain.mp4 | hsv 160,0,0 --lossless | lossless-plain.mkv | codec=ffv1"
"even.mov | yiq 150,0,300 --codec mjpeg | even.avi | frames times audio"
"walk.mkv | rgb 0,0,300 | walk-out.mkv | frames times durations audio title dispositions encoder"
"paced.mkv | rgb 0,0,300 | paced.avi | frames rate"
# Opus starts 6.5 ms before its first sample: the WebM file moves every stream 7 ms on, as
# ffmpeg's does.
"voice.mp4 | hsv 160,0,0 | voice.webm | sound=opus,vorbis frames"
# FFmpeg 7's MP4 writer takes PCM sound as it is; 5.1's does not, and it is encoded as AAC.
"even.mov | yiq 150,0,300 | even.mp4 | sound=aac,pcm_s16le frames times"
"clip.mov | yiq 150,0,300 | clip-out.mov | codec=prores warns=have_10_bits frames times durations duration audio colour"
"old.avi | rgb 200,0,0 | old-out.mkv | frames rate times audio"
"web.webm | hsv 140,100,0 | web-out.webm | codec=vp8 frames times audio progress"
"broadcast.ts | yiq 150,200,0 | broadcast-out.ts | codec=mpeg2video frames times audio aspect"
"camera.h264 | yiq 150,0,0 | camera.mkv | like=camera-ffmpeg.mkv frames rate times"
"camera.m2v | yiq 150,0,0 --codec libx264 | camera.mp4 | like=camera-ffmpeg.mp4 frames rate spacing"
"delays.gif | rgb 300,0,150 | delays-out.gif | pixels=64x48 durations lines=0"
"transparent.gif | yiq 150,300,300 | transparent-out.gif | $own_colours frames"
"gradient.mkv | rgb 0,0,0 | gradient.gif | $many_colours frames"
"delays.gif | rgb 300,0,150 | delays.mp4 | lines=0"
"cinepak.avi | rgb 200,0,0 | cinepak-out.avi | codec=mpeg4 frames rate"
# x265 and SVT-AV1 print for themselves unless told not to.
"plain.mp4 | hsv 160,0,0 --codec libx265 | x265.mkv | codec=hevc lines=0 frames"
"square.mp4 | yiq 150,0,0 --codec libsvtav1 --speed fast | square.mkv | codec=av1 lines=0 frames"
"seq%04d.png | rgb 300,0,150 | out%04d.png | pixels=48x32"
"photo.jpg | yiq 150,300,0 | photo-out.png | pixels=64x48"
"photo.jpg | yiq 150,300,0 | photo-out.jpg | codec=mjpeg size"
"deep.png | rgb 300,0,150 | deep-out.png | like=levels.png pixels=40x30"
"lossless.mkv | rgb 300,0,150 | lossless-out.mkv | pixels=64x48 frames times"
"lossless.avi | hsv 200,0,0 | lossless-out.avi | codec=utvideo pixels=64x48"
"huffyuv.avi | yiq 150,300,0 | huffyuv-out.avi | codec=huffyuv pixels=64x48"
"lossless.webp | rgb 300,0,150 | lossless-out.webp | pixels=64x48"
"transparent.png | yiq 150,300,300 | transparent.webp | pixels=112x62"
"damaged.mkv | yiq 150,0,0 | damaged%04d.png | refused=cannot read damaged.mkv: cannot decode frame 10 (at 0.360 s)"
"short.mp4 | yiq 150,0,0 | short-out.mp4 | refused=cannot read short.mp4: the video ends after 9 of its 10 frames"
"headless.mp4 | yiq 150,0,0 | headless.mkv | refused=cannot read headless.mp4: mov: moov atom not found"
"sizes.h264 | yiq 150,0,0 | sizes.mkv | refused=cannot read sizes.h264: frame 11: the picture size changes"
"song.m4a | yiq 150,0,0 | song.mp4 | refused=cannot read song.m4a: it holds no video or picture"
"seq%04d.png | yiq 150,0,0 | one.png | refused=cannot write one.png: a single picture holds one frame"
)
for row in "${rows[@]}"; do
    split_row "$row"
    if [[ $checks == *refused=* ]]; then
        refused_row "$sorvel"
        continue
    fi
    "$sorvel" "${args[@]}" -q "$source" "$output" 2>stderr.txt || { fail "$name: $(cat stderr.txt)"; continue; }
    like=$source
    for check in $checks; do
        case $check in
        like=*) like=${check#like=} ;;
        codec=*)
            got=$(probe -select_streams v:0 -show_entries stream=codec_name "${output/\%04d/0001}" | head -1)
            [ "$got" = "${check#codec=}" ] || fail "$name: codec $got" ;;
        encoder)  # the source's encoder tag names what no longer applies
            tag() { probe -select_streams v:0 -show_entries stream_tags=encoder "$1"; }
            [ -n "$(tag "$source")" ] && [ "$(tag "$source")" != "$(tag "$output")" ] ||
                fail "$name: the encoder tag $(tag "$output") came through" ;;
        x264=*)  # x264 writes its settings into the file: the preset's subme, the crf
            setting=${check#x264=}
            grep -aqF "$setting " "$output" || fail "$name: x264 ran with $(grep -ao "${setting%%=*}=[0-9.]*" "$output")" ;;
        sound=*)
            got=$(probe -select_streams a:0 -show_entries stream=codec_name "$output")
            [[ ,${check#sound=}, == *",$got,"* ]] || fail "$name: sound codec ${got:-none}"
            rate() { probe -select_streams a:0 -show_entries stream=sample_rate "$1"; }
            [ "$(rate "$output")" = "$(rate "$like")" ] || fail "$name: sound at $(rate "$output") Hz"
            read -r want _ < <(samples "$like")
            read -r got frame < <(samples "$output")
            [ "${got:-0}" -gt 0 ] && [ $((got > want ? got - want : want - got)) -le "$frame" ] ||
                fail "$name: ${got:-no} samples of sound for $want"
            awk -v a="$(loudness "$like")" -v b="$(loudness "$output")" \
                'BEGIN { exit !(a != "" && b != "" && a - b <= 1 && b - a <= 1) }' ||
                fail "$name: sound at $(loudness "$output") dB for $(loudness "$like")" ;;
        lines=*) [ "$(wc -l <stderr.txt)" -eq "${check#lines=}" ] || fail "$name: printed $(cat stderr.txt)" ;;
        error=*)
            chain=$(sed 's/--then//; s/--[a-z]* [0-9]*//' <<<"$command")
            bgra "$like" >source.raw && bgra "$output" >output.raw || fail "$name: cannot decode"
            # shellcheck disable=SC2086
            max=$("$error" source.raw output.raw $chain | sed -n 's/.*max error \([0-9]*\) .*/\1/p')
            [ "${max:-999}" -le "${check#error=}" ] || fail "$name: max error ${max:-unknown}" ;;
        warns=*) grep -qF "$(tr _ ' ' <<<"${check#warns=}")" stderr.txt || fail "$name: no warning ${check#warns=}" ;;
        progress)  # on a terminal, the total from the container's duration
            frames=$(property frames "$source")
            script -qec "'$sorvel' $command '$source' 'tty-$output'" /dev/null >tty.txt 2>&1
            grep -q "100% $frames of $frames frames" tty.txt || fail "$name: progress $(tr '\r' '\n' <tty.txt | tail -2)" ;;
        pixels=*)
            size=${check#pixels=}
            chain=$(sed 's/--then//; s/--[a-z]* [0-9]*//' <<<"$command")
            opts=()
            # YUV sources as sorvel converts them.
            [[ $(probe -select_streams v:0 -show_entries stream=pix_fmt "$like") == yuv* ]] &&
                opts=(-sws_flags bicubic+accurate_rnd+full_chroma_int+full_chroma_inp)
            bgra "$like" "${opts[@]}" >source.raw && bgra "$output" >output.raw || fail "$name: cannot decode"
            # shellcheck disable=SC2086
            "$compare" source.raw output.raw "${size%x*}" "${size#*x}" $chain >compare.txt ||
                fail "$name: the pixels differ: $(tail -2 compare.txt)" ;;
        *)
            same_property "$check" "$like" ;;
        esac
    done
done

# The sources hold what the rows test.
[ "$(property rotation holiday.mp4)" = 90 ] || fail "holiday.mp4 has no rotation"
gaps=$(probe -select_streams v -show_entries frame=pts walk.mkv |
       awk -F, '$1 != "" { if (n++) gap[$1 - last] = 1; last = $1 } END { print length(gap) }')
[ "$gaps" -ge 5 ] || fail "walk.mkv's frame times are not variable"
[ "$(probe -select_streams v:0 -show_entries packet=pts,dts camera.h264 | sort -u)" = N/A ] ||
    fail "camera.h264's frames have time stamps"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "media table: every property came through"
