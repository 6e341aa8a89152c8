#!/bin/bash
# LUT files from sorvel in the tools that read them, on a frame of every
# 8-bit colour (4096 x 4096): the Hald CLUT through ffmpeg's haldclut
# (nearest) and ImageMagick's -hald-clut equals the filters bit for bit; the
# 3-D .cube through ffmpeg's lut3d errs as the printed line says, give or
# take ffmpeg's own rounding (it truncates to 8 bits where the program's
# measure rounds); melt's avfilter.lut3d, which Kdenlive and Shotcut use,
# applies it as ffmpeg does; and LUT files are written whole or not at all.
#   lut-tools.sh SORVEL RAW_COMPARE LUT_ERROR WORKDIR
set -u
sorvel=$1 compare=$2 lut_error=$3 work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
chain=(yiq "150,300,300" --then hsv "150,300,300")
steps=(yiq "150,300,300" hsv "150,300,300")
every=(-f lavfi -i haldclutsrc=16)
one=(-frames:v 1)
ff "${every[@]}" "${one[@]}" -f rawvideo -pix_fmt bgra every.raw || exit 1

"$sorvel" "${chain[@]}" --lut hald.png >hald.txt || fail "writing the Hald CLUT"
grep -qx "wrote a level-16 Hald CLUT (4096 x 4096) to hald.png" hald.txt || fail "Hald report: $(cat hald.txt)"
ff "${every[@]}" -i hald.png -filter_complex "[0][1]haldclut=interp=nearest" "${one[@]}" -f rawvideo -pix_fmt bgra ffmpeg-hald.raw
"$compare" every.raw ffmpeg-hald.raw 4096 4096 "${steps[@]}" || fail "ffmpeg haldclut differs from the filters"
ff "${every[@]}" "${one[@]}" every.ppm
convert every.ppm hald.png -hald-clut magick.ppm || fail "ImageMagick"
ff -i magick.ppm -f rawvideo -pix_fmt bgra magick.raw
"$compare" every.raw magick.raw 4096 4096 "${steps[@]}" || fail "ImageMagick -hald-clut differs from the filters"

# The printed line against ffmpeg's lut3d: each channel of ffmpeg's result
# is at most one level from the program's, so the largest errors agree within
# a level and the means within the share of values ffmpeg moves (measured
# 0.25 here, almost all of it truncation).
"$sorvel" "${chain[@]}" --lut grid.cube >cube.txt || fail "writing the .cube"
echo "sorvel:        $(tail -1 cube.txt)"
ff "${every[@]}" "${one[@]}" -vf lut3d=file=grid.cube -f rawvideo -pix_fmt bgra ffmpeg-cube.raw
"$lut_error" every.raw ffmpeg-cube.raw "${steps[@]}" >ffmpeg-cube.txt
echo "ffmpeg lut3d:  $(cat ffmpeg-cube.txt)"
read -r mean max < <(sed -E 's/mean error ([0-9.]+) levels, max error ([0-9]+).*/\1 \2/' <(tail -1 cube.txt))
read -r fmean fmax < <(sed -E 's/mean error ([0-9.]+) levels, max error ([0-9]+).*/\1 \2/' ffmpeg-cube.txt)
awk -v m="$mean" -v x="$max" -v fm="$fmean" -v fx="$fmax" \
    'BEGIN { exit !(m > 0 && fm >= m && fm <= m + 0.5 && fx >= x - 1 && fx <= x + 1) }' ||
    fail "printed mean $mean, max $max; ffmpeg measured mean $fmean, max $fmax"
grep -qx "LUT_3D_SIZE 65" grid.cube || fail "the default size is not 65"
[ "$(grep -c '^[0-9]' grid.cube)" -eq $((65 * 65 * 65)) ] || fail "not 65^3 grid points"

# melt with MLT's avfilter.lut3d gives what ffmpeg's lut3d gives.
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 small.png
ff -i small.png -vf lut3d=file=grid.cube -f rawvideo -pix_fmt bgra ffmpeg-small.raw
printf '%s\n' description=square colorspace=709 width=64 height=48 progressive=1 frame_rate_num=25 frame_rate_den=1 \
    sample_aspect_num=1 sample_aspect_den=1 display_aspect_num=4 display_aspect_den=3 >square.profile
melt -quiet -profile "$PWD/square.profile" small.png in=0 out=0 -attach avfilter.lut3d av.file=grid.cube \
    -consumer avformat:melt.png vcodec=png pix_fmt=rgb24 frames=1 2>melt.err || fail "melt: $(cat melt.err)"
ff -i melt.png -frames:v 1 -f rawvideo -pix_fmt bgra melt.raw
ff -i small.png -f rawvideo -pix_fmt bgra small.raw
cmp -s melt.raw ffmpeg-small.raw || fail "melt's lut3d gave other pixels than ffmpeg's"
cmp -s melt.raw small.raw && fail "melt's lut3d changed nothing"

# Errors: an unwritable place leaves nothing behind and says why.
"$sorvel" "${chain[@]}" --lut missing/grid.cube >/dev/null 2>err.txt
got=$?
if [ $got -ne 1 ] || ! grep -qx "sorvel: error: cannot write missing/grid.cube: No such file or directory" err.txt; then
    fail "unwritable .cube gave $got: $(cat err.txt)"
fi
"$sorvel" "${chain[@]}" --lut grid.cube --raw 4x4 >/dev/null 2>err.txt
[ $? -eq 2 ] || fail "--lut with --raw: $(cat err.txt)"
leftovers=$(find . -maxdepth 1 -name '*.tmp')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"
[ $status -eq 0 ] && echo "LUT files match the filters in ffmpeg, ImageMagick and melt"
exit $status
