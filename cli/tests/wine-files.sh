#!/bin/sh
# sorvel.exe (32- or 64-bit) under Wine on files: its LUT files are the
# native program's (the .cube byte for byte, the Hald CLUT pixel for pixel),
# and PNG, JPEG and BMP pictures come out as the filters make them from the
# pixels stb decoded, with the native program's messages and statuses; a
# JPEG's and a PNG's metadata kept; a batch.
#   wine-files.sh RUN_UNDER_WINE PREFIX SORVEL_EXE SORVEL RAW_COMPARE WORKDIR
# shellcheck disable=SC2012 # ls of the test's own folder, whose names it made
# shellcheck disable=SC2086 # $chain is the filter chain's words
set -u
run=$1 prefix=$2 exe=$3 native=$4 compare=$5 work=$6
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }
wine_sorvel() { "$run" "$prefix" "$exe" "$@"; }
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
raw() { ff -i "$1" -f rawvideo -pix_fmt bgra "$2"; }

# LUT files: a 3-D .cube, a 1-D .cube and the level-16 Hald CLUT.
for lut in "yiq 150,300,300 --then hsv 150,300,300 --lut-size 33 --lut grid.cube" \
           "rgb 0,100,300 --then rgb 300,0,17 --lut line.cube" \
           "yiq 150,300,300 --then hsv 150,300,300 --lut hald.png"; do
    file=${lut##* }
    # shellcheck disable=SC2086
    wine_sorvel $lut >wine.txt 2>wine.err || fail "wine: $lut: $(cat wine.err)"
    mv "$file" "wine-$file"
    # shellcheck disable=SC2086
    "$native" $lut >native.txt || fail "native: $lut"
    tr -d "\r" <wine.txt | cmp -s - native.txt || fail "$lut: sorvel.exe printed $(cat wine.txt)"
    case $file in
        *.cube) cmp -s "wine-$file" "$file" || fail "$lut: the .cube files differ" ;;
        *.png) raw "wine-$file" wine.raw
               raw "$file" native.raw
               cmp -s wine.raw native.raw || fail "$lut: the Hald CLUTs' pixels differ" ;;
    esac
done

# Pictures: PNG with alpha in and out, BMP out, JPEG in (against stb's own
# decoding, which sorvel.exe writes with rgb 0,0,0, the identity), JPEG out.
ff -f lavfi -i testsrc2=size=40x30 -frames:v 1 -vf "format=rgba,geq=r='r(X,Y)':g='g(X,Y)':b='b(X,Y)':a='X*6'" in.png
ff -f lavfi -i testsrc2=size=40x30 -frames:v 1 -q:v 3 in.jpg
raw in.png in.raw
steps="rgb 300,0,150 yiq 140,0,200"
chain="rgb 300,0,150 --then yiq 140,0,200"
for out in out.png out.bmp; do
    # shellcheck disable=SC2086
    wine_sorvel $chain in.png "$out" 2>wine.err || fail "wine: in.png to $out: $(cat wine.err)"
    raw "$out" out.raw
    [ "$out" = out.bmp ] && ff -i in.png -vf format=rgb24 -f rawvideo -pix_fmt bgra in.raw
    # shellcheck disable=SC2086
    "$compare" in.raw out.raw 40 30 $steps >/dev/null || fail "in.png to $out differs from the filters"
done
wine_sorvel rgb 0,0,0 in.jpg decoded.png 2>wine.err || fail "wine: decoding in.jpg: $(cat wine.err)"
# shellcheck disable=SC2086
wine_sorvel $chain in.jpg jpeg-out.png 2>wine.err || fail "wine: in.jpg: $(cat wine.err)"
raw decoded.png decoded.raw && raw jpeg-out.png jpeg-out.raw
# shellcheck disable=SC2086
"$compare" decoded.raw jpeg-out.raw 40 30 $steps >/dev/null || fail "in.jpg differs from the filters"
# shellcheck disable=SC2086
wine_sorvel $chain in.png out.jpg 2>wine.err || fail "wine: writing out.jpg: $(cat wine.err)"
[ "$(ffprobe -v error -show_entries stream=codec_name,width,height -of csv=p=0 out.jpg)" = "mjpeg,40,30" ] ||
    fail "out.jpg is no 40x30 JPEG"

# Metadata: a JPEG's EXIF and ICC profile into the written JPEG, a PNG's
# profile into the written PNG, read back with exiv2 and ImageMagick; across
# formats one warning says what is left out.
icc=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc
date='2024:05:06 07:08:09'
cp in.jpg meta.jpg && cp $icc meta.icc
exiv2 -M"set Exif.Photo.DateTimeOriginal $date" meta.jpg && exiv2 -iC meta.jpg
convert in.png -profile $icc meta.png
for pair in meta.jpg:meta-out.jpg meta.png:meta-out.png; do
    wine_sorvel $chain "${pair%:*}" "${pair#*:}" 2>wine.err || fail "wine: $pair: $(cat wine.err)"
    convert "${pair#*:}" got.icc && cmp -s got.icc $icc || fail "$pair: the ICC profile is not kept"
    ! grep -q "sorvel: warning" wine.err || fail "$pair: $(cat wine.err)"
done
[ "$(exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv meta-out.jpg)" = "$date" ] || fail "meta-out.jpg has no EXIF date"
wine_sorvel $chain meta.jpg meta-jpg.png 2>wine.err || fail "wine: meta.jpg to PNG: $(cat wine.err)"
grep -qF "only from JPEG to JPEG and from PNG to PNG: left out" wine.err || fail "meta.jpg to PNG: no warning"
# A batch: one damaged file named, the others written.
wine_sorvel $chain meta.jpg in.raw out.png -o graded --format png 2>wine.err
got=$?
[ "$got" = 1 ] && grep -qF "graded 2 of 3 files; 1 failed: cannot read in.raw:" wine.err &&
    [ "$(ls graded | tr '\n' ' ')" = "meta.png out.png " ] || fail "batch: status $got, $(cat wine.err)"

# Errors, as from the native program.
expect() {
    want=$1 text=$2
    shift 2
    wine_sorvel "$@" >/dev/null 2>err.txt
    got=$?
    if [ "$got" -ne "$want" ] || ! grep -qF -- "$text" err.txt; then
        fail "sorvel.exe $* gave $got: $(cat err.txt)"
    fi
}
expect 1 "cannot read missing.png: No such file or directory" yiq 150,0,0 missing.png out2.png
expect 1 "cannot read in.raw: its picture data cannot be decoded" yiq 150,0,0 in.raw out2.png
expect 1 "cannot write missing/grid.cube: No such file or directory" yiq 150,0,0 --lut missing/grid.cube
[ ! -e out2.png ] || fail "a failed run left out2.png"
leftovers=$(find . -maxdepth 1 -name '*.tmp')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"
[ $status -eq 0 ] && echo "sorvel.exe under Wine writes the native LUT files and filters pictures exactly"
exit $status
