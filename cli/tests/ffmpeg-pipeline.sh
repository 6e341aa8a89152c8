#!/bin/bash
# sorvel between two ffmpeg processes on a short generated clip, and on PNG
# pictures that ffmpeg writes and reads back; raw_compare checks every
# output byte against the transforms applied directly.
#   ffmpeg-pipeline.sh SORVEL RAW_COMPARE WORKDIR
set -euo pipefail
sorvel=$1 compare=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

clip=(-f lavfi -i testsrc2=size=96x64:rate=25 -frames:v 12)
ff "${clip[@]}" -f rawvideo -pix_fmt bgra in.raw
ff "${clip[@]}" -f rawvideo -pix_fmt bgra - |
    "$sorvel" yiq 150,300,300 --then hsv 'Config(200, 0, 0)' --raw 96x64 |
    ff -f rawvideo -pix_fmt bgra -video_size 96x64 -framerate 25 -i - -c:v ffv1 out.mkv
ff -i out.mkv -f rawvideo -pix_fmt bgra out.raw
"$compare" in.raw out.raw 96 64 yiq 150,300,300 hsv 200,0,0

# PNG pictures: RGB, RGBA with a varying alpha, grey and palette.
ff -f lavfi -i testsrc=size=40x30 -frames:v 1 rgb.png
ff -f lavfi -i testsrc=size=40x30 -frames:v 1 -vf "format=rgba,geq=r='r(X,Y)':g='g(X,Y)':b='b(X,Y)':a='X*6'" rgba.png
ff -f lavfi -i testsrc=size=40x30 -frames:v 1 -pix_fmt gray grey.png
ff -f lavfi -i testsrc=size=40x30:rate=1:duration=1 -frames:v 1 -vf "split[a][b];[a]palettegen=max_colors=16[p];[b][p]paletteuse" palette.png
for picture in rgb rgba grey palette; do
    "$sorvel" rgb 300,0,150 --then yiq 140,0,200 "$picture.png" "$picture-out.png"
    ff -i "$picture.png" -f rawvideo -pix_fmt bgra "$picture.raw"
    ff -i "$picture-out.png" -f rawvideo -pix_fmt bgra "$picture-out.raw"
    "$compare" "$picture.raw" "$picture-out.raw" 40 30 rgb 300,0,150 yiq 140,0,200
done
echo "ffmpeg pipeline: all outputs match"
