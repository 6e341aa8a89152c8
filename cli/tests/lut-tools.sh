#!/bin/bash
# LUT files from sorvel in the tools that read them, on a frame of every
# 8-bit colour (4096 x 4096): the Hald CLUT through ffmpeg's haldclut
# (nearest) and ImageMagick's -hald-clut equals the filters bit for bit; the
# 1-D .cube through ffmpeg's lut1d too, with each interpolation; the 3-D
# .cube through ffmpeg's lut3d errs as the printed line says, give or take
# ffmpeg's own rounding (it truncates to 8 bits where the program's measure
# rounds), and through OpenColorIO's ocioconvert on the photographs as the
# printed photo line says; black and white frames stay black and white
# through lut3d with every interpolation; melt's avfilter.lut3d, which
# Kdenlive and Shotcut use, applies it as ffmpeg does; and LUT files are
# written whole or not at all.
#   lut-tools.sh SORVEL RAW_COMPARE LUT_ERROR PHOTOS.rgb WORKDIR
set -u
sorvel=$1 compare=$2 lut_error=$3 photos=$4 work=$5
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

# ffmpeg's lut1d reads the 1-D file exactly, whatever it interpolates with.
rgb=(rgb "0,100,300")
"$sorvel" "${rgb[@]}" --lut levels.cube >/dev/null || fail "writing the 1-D .cube"
grep -qx "LUT_1D_SIZE 256" levels.cube || fail "an rgb chain did not give a 1-D .cube"
for interp in nearest linear cubic; do
    ff "${every[@]}" "${one[@]}" -vf lut1d=file=levels.cube:interp=$interp -f rawvideo -pix_fmt bgra lut1d.raw
    "$compare" every.raw lut1d.raw 4096 4096 "${rgb[@]}" >/dev/null || fail "ffmpeg lut1d interp=$interp differs"
done

# The printed line against ffmpeg's lut3d: each channel of ffmpeg's result
# is at most one level from the program's, so the largest errors agree within
# a level and the means within the share of values ffmpeg moves (measured
# 0.25 here, almost all of it truncation). Also the 3-D .cube of rgb steps,
# which --lut-size asks for.
numbers() { sed -E 's/.*mean error ([0-9.]+) levels, max error ([0-9]+).*/\1 \2/' "$@"; }
check_cube() {  # FILE SIZE STEPS...
    local file=$1 size=$2
    shift 2
    local -a chain=("$1" "$2")
    [ $# -eq 4 ] && chain+=(--then "$3" "$4")
    "$sorvel" "${chain[@]}" --lut "$file" --lut-size "$size" >"$file.txt" || fail "writing $file"
    grep -qx "wrote a 3-D LUT of size $size to $file" "$file.txt" || fail "$file report: $(cat "$file.txt")"
    grep -qx "LUT_3D_SIZE $size" "$file" || fail "$file is not of size $size"
    echo "sorvel $file:        $(grep '^mean' "$file.txt")"
    ff "${every[@]}" "${one[@]}" -vf lut3d=file="$file" -f rawvideo -pix_fmt bgra "$file.raw"
    "$lut_error" every.raw "$file.raw" "$@" >"$file.ffmpeg"
    echo "ffmpeg lut3d $file:  $(cat "$file.ffmpeg")"
    read -r mean max < <(grep '^mean' "$file.txt" | numbers)
    read -r fmean fmax < <(numbers "$file.ffmpeg")
    awk -v m="$mean" -v x="$max" -v fm="$fmean" -v fx="$fmax" \
        'BEGIN { exit !(m > 0 && fm >= m && fm <= m + 0.5 && fx >= x - 1 && fx <= x + 1) }' ||
        fail "$file: printed mean $mean, max $max; ffmpeg measured mean $fmean, max $fmax"
}
check_cube rgb.cube 17 "${rgb[@]}"
check_cube grid17.cube 17 "${steps[@]}"
check_cube grid33.cube 33 "${steps[@]}"
"$sorvel" "${chain[@]}" --lut grid.cube >grid.cube.txt || fail "writing the .cube"
grep -qx "LUT_3D_SIZE 65" grid.cube || fail "the default size is not 65"
[ "$(grep -c '^[0-9]' grid.cube)" -eq $((65 * 65 * 65)) ] || fail "not 65^3 grid points"

# The chain keeps black and white, and so must every cube of it, with every
# interpolation of ffmpeg's lut3d: a black and a white pixel, through each.
printf '\0\0\0\377\377\377' >black-white.raw
interps=(nearest trilinear tetrahedral pyramid prism)
for file in grid17.cube grid33.cube grid.cube; do
    graph="[0]split=5[i0][i1][i2][i3][i4]"
    outputs=()
    for i in 0 1 2 3 4; do
        graph+=";[i$i]lut3d=file=$file:interp=${interps[$i]}[o$i]"
        outputs+=(-map "[o$i]" -f rawvideo -pix_fmt rgb24 "out-${interps[$i]}.raw")
    done
    ff -f rawvideo -pix_fmt rgb24 -s 2x1 -i black-white.raw -filter_complex "$graph" "${outputs[@]}"
    for interp in "${interps[@]}"; do
        cmp -s black-white.raw "out-$interp.raw" || fail "$file with interp=$interp does not keep black and white"
    done
done

# The photo line against OpenColorIO, which interpolates tetrahedrally and
# rounds as the program's measure does, on the same photographs: within 10 %.
photo_status=0
if command -v ocioconvert >/dev/null; then
    ff -f rawvideo -pix_fmt rgb24 -s 256x256 -i "$photos" photos.png
    ff -i photos.png -f rawvideo -pix_fmt bgra photos.raw
    ocioconvert --lut grid.cube photos.png ocio.png >/dev/null || fail "ocioconvert"
    ff -i ocio.png -f rawvideo -pix_fmt bgra ocio.raw
    "$lut_error" photos.raw ocio.raw "${steps[@]}" >ocio.txt
    echo "sorvel $(grep '^on photos' grid.cube.txt)"
    echo "OpenColorIO on photos: $(cat ocio.txt)"
    read -r pmean _ < <(grep '^on photos: ' grid.cube.txt | numbers)
    read -r omean _ < <(numbers ocio.txt)
    awk -v p="$pmean" -v o="$omean" 'BEGIN { exit !(p > 0 && p >= 0.9 * o && p <= 1.1 * o) }' ||
        fail "printed photo mean $pmean, OpenColorIO measured $omean"
else
    echo "SKIPPED the photo line against OpenColorIO: no ocioconvert (Debian package opencolorio-tools)"
    photo_status=77
fi

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
[ $status -eq 0 ] && echo "LUT files match the filters in ffmpeg, ImageMagick, OpenColorIO and melt"
[ $status -eq 0 ] && exit $photo_status
exit $status
