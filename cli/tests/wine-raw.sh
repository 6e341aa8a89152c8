#!/bin/sh
# sorvel.exe (32- or 64-bit) under Wine: raw frames through standard input and
# output come out byte for byte as from the native program, and its errors
# carry the same messages and statuses.
#   wine-raw.sh RUN_UNDER_WINE PREFIX SORVEL_EXE SORVEL WORKDIR
set -u
run=$1 prefix=$2 exe=$3 native=$4 work=$5
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }
wine_sorvel() { "$run" "$prefix" "$exe" "$@"; }

ffmpeg -nostdin -hide_banner -loglevel error -f lavfi -i testsrc2=size=40x30:rate=10 -frames:v 5 \
    -f rawvideo -pix_fmt bgra in.raw || exit 1
chain="yiq 150,300,300 --then rgb 0,100,0 --raw 40x30"
# shellcheck disable=SC2086
"$native" $chain <in.raw >native.raw || fail "native run"
# shellcheck disable=SC2086
wine_sorvel $chain <in.raw >wine.raw 2>wine.err || fail "wine run: $(cat wine.err)"
cmp -s native.raw wine.raw || fail "sorvel.exe gave other bytes than the native program"
cmp -s in.raw wine.raw && fail "the filters changed nothing"

head -c 5000 in.raw >short.raw
wine_sorvel yiq 150,0,0 --raw 40x30 <short.raw >/dev/null 2>short.err
got=$?
[ $got -eq 1 ] || fail "a short stream gave status $got"
grep -q "input ends inside frame 2: 200 of its 4800 bytes" short.err || fail "short stream: $(cat short.err)"

wine_sorvel yiq 150,0,0 in.mp4 out.mp4 </dev/null >/dev/null 2>video.err
got=$?
[ $got -eq 2 ] && grep -q "filter video through --raw" video.err || fail "video file request gave $got: $(cat video.err)"
[ $status -eq 0 ] && echo "sorvel.exe under Wine matches the native program"
exit $status
