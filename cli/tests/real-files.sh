#!/bin/bash
# sorvel on files that other projects made: the sample videos and test
# pictures of Debian packages, fetched once with apt-get download into
# ~/.cache/sorvel/real-files ($XDG_CACHE_HOME), and copies of them cut
# short. One table: each row is a file, sorvel's arguments, the output and
# the checks, asked of ffprobe and compared with the source or with what
# `ffmpeg -i IN OUT` makes of the same file.
#   real-files.sh SORVEL WORKDIR
set -uo pipefail
sorvel=$1 work=$2
# shellcheck source=lib/rows.sh
. "$(dirname "$0")/lib/rows.sh"
cache=${XDG_CACHE_HOME:-$HOME/.cache}/sorvel/real-files
packages=(golang-github-gabriel-vasile-mimetype-dev golang-golang-x-image-dev python3-mecavideo devede xine-ui
          gem-doc afl++-doc)
skip() { echo "SKIPPED $*"; exit 77; }
mkdir -p "$cache" || skip "cannot make $cache"
for package in "${packages[@]}"; do
    [ -e "$cache/$package.unpacked" ] && continue
    (cd "$cache" && rm -f "$package"_*.deb && apt-get download "$package" >download.txt 2>&1) ||
        skip "apt-get download $package failed: $(grep -m1 '^E:' "$cache/download.txt")"
    dpkg -x "$cache/$package"_*.deb "$cache/files" && rm -f "$cache/$package"_*.deb &&
        touch "$cache/$package.unpacked" || skip "cannot unpack $package"
done

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# --- The files, by short names -------------------------------------------------
share=$cache/files/usr/share
mimetype=$share/gocode/src/github.com/gabriel-vasile/mimetype/testdata
image=$share/gocode/src/golang.org/x/image/testdata
for name in mkv.mkv 3gp.3gp ogg.ogv asf.asf mp4.mp4 webm.webm flv.flv rmvb.rmvb mov.mov avifsequence.avif jpg.jpg; do
    ln -s "$mimetype/$name" "$name"
done
ln -s "$image/yellow_rose.lossy.webp" rose.webp                   # 400x301, 4:2:0
ln -s "$image/tux.lossless.webp" tux.webp                          # 386x395, lossless with alpha
ln -s "$image/video-001.tiff" video.tiff                           # 150x103 RGB
ln -s "$image/go-turns-two-280x360.jpeg" gopher.jpeg               # 4:4:4
ln -s "$share/devedeng/base_pal.mpg" dvd.mpg                       # MPEG-PS from 0.24 s, with DVD navigation
ln -s "$share/xine/skins/xine-ui_logo.mpg" logo.mpg                # MPEG-PS from 0.54 s
ln -s "$share/pymecavideo/data/video/balle1-vp9.avi" ball.avi      # VP9 and MP3 in AVI
ln -s "$share/pymecavideo/data/video/Effet_force_magnetique.ogv" magnet.ogv
ln -s "$share/gem/examples/data/anim-1.mov" anim.mov               # Motion JPEG 4:2:2
ln -s "$share/gem/examples/data/homer.avi" homer.avi               # Indeo 3, 4:1:0
ln -s "$share/doc/afl++-doc/afl/testcases/multimedia/h264/small_movie.mp4" small.mp4  # 48x144
# The rows name files of Debian 12's packages; another release may move them.
missing=$(for f in *; do [ -e "$f" ] || printf ' %s' "$(readlink "$f")"; done)
[ -z "$missing" ] || skip "this release's packages do not hold:$missing"
convert gopher.jpeg -interlace Plane progressive.jpeg  # the same picture, progressive (ImageMagick)
# Cut short: half of each file.
for name in webm.webm jpg.jpg gopher.jpeg progressive.jpeg; do
    head -c $(($(stat -L -c %s "$name") / 2)) "$name" >"half-$name"
done

# --- The properties, each as ffprobe reports it ----------------------------------
property() {
    case $1 in
    frames) probe -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "$2" ;;
    size) probe -select_streams v:0 -show_entries stream=width,height "$2" | paste -sd x ;;
    codec) probe -select_streams v:0 -show_entries stream=codec_name "$2" ;;
    pixels) probe -select_streams v:0 -show_entries stream=pix_fmt "$2" ;;
    streams) probe -show_entries stream=codec_type "$2" | sort | paste -sd ' ' ;;
    # The frame times from the first, in milliseconds (Matroska's unit).
    times) probe -select_streams v:0 -show_entries frame=best_effort_timestamp_time "$2" |
           awk 'NR == 1 { t0 = $1 } { printf "%.0f\n", ($1 - t0) * 1000 }' ;;
    start) probe -select_streams v:0 -show_entries frame=best_effort_timestamp_time -read_intervals %+#1 "$2" |
           awk '{ printf "%.2f\n", $1 }' ;;
    sound) probe -select_streams a -show_data_hash CRC32 -show_entries packet=size,data_hash "$2" ;;
    duration) probe -show_entries format=duration "$2" | awk '{ printf "%.1f\n", $1 }' ;;
    esac
}

# Each row: SOURCE | sorvel's arguments before the file names | OUTPUT | checks.
# A check is a property: the source's (frames, times, sound); ffmpeg's own
# output of the same name (streams, duration); or NAME=VALUE for a value
# (size, codec, pixels, start). exact: every pixel as the source's
# (the chain is the identity); padded=WxH: the source with its edge
# repeated to that size; warns=TEXT_WITH_UNDERSCORES; refused=MESSAGE.
rows=(
"mkv.mkv | rgb 0,0,0 | mkv-out.mkv | frames sound streams"   # no start times; its times start again at 2.3 s
"mkv.mkv | rgb 0,0,0 | mkv-out.mp4 | frames sound streams"
"ogg.ogv | rgb 0,0,0 | ogg-out.mkv | frames times sound duration codec=theora"    # sound from -128
"ogg.ogv | rgb 0,0,0 | ogg-out.ogv | frames times sound"
"magnet.ogv | hsv 160,0,0 | magnet-out.ogv | frames times"
"asf.asf | rgb 0,0,0 | asf-out.mkv | frames sound streams codec=h264"           # WMV2 and WMAv2
"3gp.3gp | rgb 0,0,0 | 3gp-out.mkv | frames times sound streams"                # H.263 and AMR-NB
"mp4.mp4 | yiq 150,100,0 | mp4-out.mp4 | frames times sound streams duration codec=h264"
"mov.mov | rgb 0,0,0 | mov-out.mov | frames times sound streams"
"webm.webm | rgb 0,0,0 | webm-out.webm | frames times sound streams codec=vp8"
"flv.flv | rgb 0,0,0 | flv-out.mkv | frames times sound streams"
"rmvb.rmvb | rgb 0,0,0 | rmvb-out.mkv | frames times sound streams codec=h264"   # RealVideo 1
"ball.avi | rgb 0,0,0 | ball-out.mkv | frames times sound codec=vp9"
"anim.mov | rgb 0,0,0 | anim-out.avi | frames codec=mjpeg pixels=yuvj422p"
"homer.avi | rgb 0,0,0 | homer-out.mkv | frames times streams"
"small.mp4 | rgb 0,0,0 | small-out.mkv | refused=cannot read small.mp4: the video ends after 11 of its 12 frames"  # one unit holds no picture
"dvd.mpg | rgb 0,0,0 | dvd-out.mkv | frames sound start=0.00"
"logo.mpg | rgb 0,0,0 | logo-out.mp4 | frames times start=0.00"
"logo.mpg | rgb 0,0,0 | logo-out.mpg | frames times start=0.54"
"jpg.jpg | rgb 0,0,0 | jpg-out.mp4 | codec=h264 pixels=yuvj420p"
"video.tiff | rgb 0,0,0 | video-out.mp4 | codec=h264 pixels=yuv420p padded=150x104 warns=padded"
"rose.webp | rgb 0,0,0 --codec libx264 | rose-out.mkv | size=400x301 pixels=yuv444p warns=4:4:4"
"avifsequence.avif | rgb 0,0,0 | avif-out.mkv | frames codec=av1 padded=500x480 pixels=yuv420p warns=padded"
"tux.webp | rgb 0,0,0 | tux-out.png | exact"
"gopher.jpeg | rgb 0,0,0 --codec libx264 | gopher-out.mkv | size=280x360 pixels=yuvj444p"
"half-webm.webm | rgb 0,0,0 | half-out.webm | refused=cannot read half-webm.webm: the video ends at 2.668 s of the file's 5.568 s"
"half-jpg.jpg | rgb 0,0,0 | half-out.png | refused=cannot read half-jpg.jpg: the picture is cut short: its data stops at byte 5060"
"half-gopher.jpeg | rgb 0,0,0 | half-out.png | refused=cannot read half-gopher.jpeg: the picture is cut short"
"half-progressive.jpeg | rgb 0,0,0 | half-out.png | refused=cannot read half-progressive.jpeg: the picture is cut short"
)
for row in "${rows[@]}"; do
    [[ $row =~ ${SORVEL_REAL_ROWS:-.} ]] || continue  # a pattern picks rows, for work on one
    split_row "$row"
    if [[ $checks == *refused=* ]]; then
        refused_row "$sorvel"
        continue
    fi
    "$sorvel" "${args[@]}" -q "$source" "$output" 2>stderr.txt || { fail "$name: $(cat stderr.txt)"; continue; }
    for check in $checks; do
        case $check in
        padded=*)  # the size, and the source with its edge repeated: 30 dB or more (a black edge gives 23)
            size=${check#padded=} from=$(property size "$source")
            pad="pad=${size/x/:},fillborders=right=$((${size%x*} - ${from%x*})):bottom=$((${size#*x} - ${from#*x})):mode=smear"
            psnr=$(ffmpeg -nostdin -hide_banner -i "$output" -i "$source" -lavfi "[1:v]format=gbrp,${pad}[s];[0:v]format=gbrp[o];[o][s]psnr" \
                   -f null - 2>&1 | sed -n 's/.*PSNR.*average:\([0-9.inf]*\).*/\1/p')
            [ "$(property size "$output")" = "$size" ] && awk -v p="${psnr:-0}" 'BEGIN { exit !(p == "inf" || p >= 30) }' ||
                fail "$name: not the source padded to $size: size $(property size "$output"), PSNR ${psnr:-none}" ;;
        *=*)
            key=${check%%=*} want=${check#*=}
            if [ "$key" = warns ]; then
                grep -qF "$(tr _ ' ' <<<"$want")" stderr.txt || fail "$name: no warning $want: $(cat stderr.txt)"
            else
                got=$(property "$key" "$output")
                [ "$got" = "$want" ] || fail "$name: $key $got, not $want"
            fi ;;
        exact)
            bgra "$source" >source.raw && bgra "$output" >output.raw && cmp -s source.raw output.raw ||
                fail "$name: the pixels differ" ;;
        streams | duration)
            # Streams and duration do not depend on the encoder's speed.
            [ -e "ffmpeg-$output" ] || ff -i "$source" -preset ultrafast "ffmpeg-$output" 2>/dev/null
            property "$check" "ffmpeg-$output" >want.txt
            property "$check" "$output" >got.txt
            cmp -s want.txt got.txt || fail "$name: $check $(paste -sd ' ' got.txt), ffmpeg's $(paste -sd ' ' want.txt)" ;;
        *)
            same_property "$check" "$source" ;;
        esac
    done
done

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "real files: every row came through"
