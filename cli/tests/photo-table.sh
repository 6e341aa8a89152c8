#!/bin/bash
# sorvel on photos, one table: each row is a source, the output and what the
# output must hold, read back with exiv2 and ImageMagick: the pixels turned
# the way the source's EXIF Orientation shows them (ImageMagick's
# -auto-orient is the reference, every byte compared with raw_compare), and
# the source's EXIF, IPTC, XMP and ICC profile without its thumbnail.
#   photo-table.sh SORVEL RAW_COMPARE WORKDIR
# shellcheck disable=SC2012 # ls of the test's own folder, whose names it made
set -uo pipefail
sorvel=$1 compare=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
icc=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc
for tool in exiv2 convert; do
    command -v $tool >/dev/null || { echo "SKIPPED $tool is not installed"; exit 77; }
done
[ -r $icc ] || { echo "SKIPPED $icc is not installed (icc-profiles-free)"; exit 77; }
# shellcheck disable=SC2054 # the parameters are one word
chain=(yiq 150,300,0)
date='2024:05:06 07:08:09'

# --- Sources ------------------------------------------------------------------
# testsrc2 differs left from right and top from bottom. The stored pixels as
# sorvel decodes them, for the references.
ff -f lavfi -i testsrc2=size=64x48 -frames:v 1 photo.jpg
ff -i photo.jpg -sws_flags bicubic+accurate_rnd+full_chroma_int+full_chroma_inp -f rawvideo -pix_fmt bgra stored.raw
ff -f rawvideo -pix_fmt bgra -s 64x48 -i stored.raw stored.png
names=(TopLeft TopRight BottomRight BottomLeft LeftTop RightTop RightBottom LeftBottom)
for n in 1 2 3 4 5 6 7 8; do
    cp photo.jpg "turned$n.jpg"
    exiv2 -M"set Exif.Image.Orientation Short $n" "turned$n.jpg"
    convert stored.png -orient "${names[n - 1]}" -auto-orient "shown$n.png"
done
# Everything at once: EXIF with a thumbnail, IPTC, XMP and the profile.
tag() {
    exiv2 -M"set Exif.Photo.DateTimeOriginal $date" -M"set Xmp.dc.title lang=x-default Harbour" \
          -M"set Iptc.Application2.City Oslo" "$1"
}
cp photo.jpg full.jpg && tag full.jpg
convert -size 8x6 xc:green full-thumb.jpg && exiv2 -it full.jpg
cp $icc full.icc && exiv2 -iC full.jpg
convert stored.png -profile $icc full.png && tag full.png   # ImageMagick writes the PNG's iCCP
convert stored.png -profile $icc full.tif && tag full.tif

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
value() { exiv2 -q -K "$1" -Pv "$2" 2>/dev/null; }

# Each row: SOURCE | OUTPUT | checks, where a check is shown=N, the pixels as
# orientation N shows them and Orientation 1; exif, iptc, xmp, icc, each
# field as the source has it; nothumb; warns=TEXT_WITH_UNDERSCORES.
rows=()
for n in 1 2 3 4 5 6 7 8; do rows+=("turned$n.jpg | turned$n.png | shown=$n"); done
rows+=(
"full.jpg | full-out.jpg | exif iptc xmp icc nothumb"
"full.jpg | full-jpg.png | exif iptc xmp icc nothumb"
"full.png | full-out.png | exif iptc xmp icc"
"full.png | full-png.jpg | exif iptc xmp icc"
"full.tif | full-out.tif | exif iptc xmp icc"
"full.jpg | full-jpg.tif | exif iptc xmp icc nothumb"
"full.jpg | full-jpg.webp | exif xmp nothumb warns=WEBP_files_cannot_hold_IPTC"
"full.jpg | full-jpg.bmp | warns=BMP_files_cannot_hold_EXIF,_IPTC,_XMP_and_the_ICC_profile:_left_out"
)
for row in "${rows[@]}"; do
    IFS='|' read -r source output checks <<<"$row"
    read -r source <<<"$source"
    read -r output <<<"$output"
    name="$source -> $output"
    "$sorvel" "${chain[@]}" -q "$source" "$output" 2>stderr.txt || { fail "$name: $(cat stderr.txt)"; continue; }
    for check in $checks; do
        case $check in
        shown=*)
            n=${check#shown=}
            size=$(identify -format %wx%h "shown$n.png")
            ff -i "shown$n.png" -f rawvideo -pix_fmt bgra want.raw && ff -i "$output" -f rawvideo -pix_fmt bgra got.raw
            "$compare" want.raw got.raw "${size%x*}" "${size#*x}" "${chain[@]}" >compare.txt ||
                fail "$name: not shown as orientation $n: $(tail -1 compare.txt)"
            got=$(value Exif.Image.Orientation "$output")
            [ "$got" = 1 ] || fail "$name: Orientation $got" ;;
        exif)
            [ "$(value Exif.Photo.DateTimeOriginal "$output")" = "$date" ] || fail "$name: exiv2 reads no date"
            # ImageMagick 6 reads no EXIF from WebP.
            [[ $output == *.webp ]] || [ "$(identify -format '%[exif:DateTimeOriginal]' "$output")" = "$date" ] ||
                fail "$name: ImageMagick reads no date" ;;
        iptc) [ "$(value Iptc.Application2.City "$output")" = Oslo ] || fail "$name: no IPTC city" ;;
        xmp) [ "$(value Xmp.dc.title "$output")" = 'lang="x-default" Harbour' ] || fail "$name: no XMP title" ;;
        icc)
            rm -f got.icc
            convert "$output" got.icc 2>/dev/null && cmp -s got.icc $icc || fail "$name: ImageMagick reads no profile"
            exiv2 -pC "$output" 2>/dev/null | cmp -s - $icc || fail "$name: exiv2 reads no profile" ;;
        nothumb)
            # shellcheck disable=SC2143 # grep -q would end exiv2 early, which pipefail counts
            [ -n "$(exiv2 -pt "$source" | grep Exif.Thumbnail)" ] || fail "$source has no thumbnail"
            # shellcheck disable=SC2143
            [ -z "$(exiv2 -pt "$output" 2>/dev/null | grep Exif.Thumbnail)" ] || fail "$name: the thumbnail is kept" ;;
        warns=*)
            [ "$(grep -cF "$(tr _ ' ' <<<"${check#warns=}")" stderr.txt)" = 1 ] ||
                fail "$name: not one warning ${check#warns=}: $(cat stderr.txt)" ;;
        esac
    done
done

# --- A batch: one damaged file, then a re-run --------------------------------
# Each output as the single runs above wrote it; the damaged file named in the
# summary and the status; nothing else left behind. The re-run writes only
# what is missing, and --overwrite replaces.
mkdir shoot && cp turned6.jpg shoot/a.jpg && cp full.png shoot/b.png && cp turned3.jpg shoot/d.jpg
echo "not a photo" >shoot/c.jpg
batch() { "$sorvel" "${chain[@]}" shoot/*.jpg shoot/b.png "$@" 2>stderr.txt >stdout.txt; }
batch -o graded --format png
status=$?
[ "$status" = 1 ] || fail "batch: status $status"
grep -qF "graded 3 of 4 files; 1 failed: cannot read shoot/c.jpg: " stderr.txt || fail "batch: $(cat stderr.txt)"
for pair in a:turned6 b:full-out d:turned3; do
    cmp -s "graded/${pair%:*}.png" "${pair#*:}.png" || fail "batch: graded/${pair%:*}.png differs from a single run's"
done
[ "$(ls -A graded | tr '\n' ' ')" = "a.png b.png d.png " ] || fail "batch: wrote $(ls -A graded)"
kept=$(stat -c %i:%Y graded/a.png)
rm graded/d.png
batch --out-dir graded --format png
grep -qF "graded 1 of 4 files; 2 skipped (already there" stderr.txt || fail "re-run: $(cat stderr.txt)"
[ -e graded/d.png ] && [ "$(stat -c %i:%Y graded/a.png)" = "$kept" ] || fail "re-run: not only d.png written"
"$sorvel" "${chain[@]}" shoot/a.jpg -o graded --format png --overwrite >stdout.txt 2>stderr.txt
[ "$(cat stdout.txt)" = "graded 1 of 1 file" ] && [ "$(stat -c %i graded/a.png)" != "${kept%:*}" ] ||
    fail "--overwrite: $(cat stdout.txt stderr.txt)"
# A batch into the inputs' own folder never writes over an input.
cp shoot/a.jpg a-before.jpg
"$sorvel" "${chain[@]}" shoot/a.jpg -o shoot --overwrite >stdout.txt 2>stderr.txt
grep -qF "1 failed: cannot write shoot/a.jpg: it is the input file shoot/a.jpg itself" stderr.txt &&
    cmp -s shoot/a.jpg a-before.jpg || fail "batch onto its input: $(cat stdout.txt stderr.txt)"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "photo table: every photo came through"
