#!/bin/bash
# The sorvel program on bad input: every error is one line on standard
# error with the right exit status (1 for a file or stream, 2 for the
# command line) that names the file and the cause, and no output file is
# left half-written.
#   cli-errors.sh SORVEL WORKDIR
# The work folder holds only names this test chose, so ls | grep is safe.
# shellcheck disable=SC2010
set -u
sorvel=$1 work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS TEXT ARGS...: runs sorvel with standard input from $input
# and checks its status and that standard error is one line holding TEXT.
input=/dev/null
expect() {
    local want=$1 text=$2
    shift 2
    "$sorvel" "$@" <"$input" >stdout.txt 2>stderr.txt
    local got=$?
    if [ "$got" -ne "$want" ] || [ "$(wc -l <stderr.txt)" -ne 1 ] || ! grep -qF -- "$text" stderr.txt; then
        fail "sorvel $* gave status $got (expected $want) and: $(cat stderr.txt)"
    else
        echo "ok: sorvel $*: $(cat stderr.txt)"
    fi
}
absent() { [ ! -e "$1" ] || fail "$1 was written"; rm -f "$1"; }
no_leftovers() { ! ls -a | grep -q '\.tmp$' || fail "temporary files left: $(ls -a | grep '\.tmp$')"; }

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
ff -f lavfi -i testsrc=size=32x24 -frames:v 1 in.png
ff -f lavfi -i testsrc=size=8x8 -frames:v 1 -pix_fmt rgb48be deep.png
head -c 200 in.png >cut.png
printf 'not a picture\n' >text.png
{ printf '\211PNG\r\n\032\n'; head -c 300 /dev/urandom; } >noise.png

# The command line (its parsing is tested case by case in test_arguments.cpp).
expect 2 "unknown filter 'sepia'" sepia 1,2,3 in.png out.png
expect 2 "three parameters a,b,c, but '1,2' has 2" yiq 1,2 in.png out.png
expect 2 "parameter 'x' is not a whole number" hsv 1,x,3 in.png out.png
expect 2 "expected an input and an output file" yiq 1,2,3 in.png
expect 2 "unknown option '--fast'" yiq 1,2,3 --fast in.png out.png
expect 2 "frame size '640by480' is not WIDTHxHEIGHT" yiq 1,2,3 --raw 640by480
absent out.png

# Files that cannot be read: missing, cut short, not a picture, damaged in
# the middle of a video, without a video.
ff -f lavfi -i testsrc2=size=320x240:rate=25 -t 1 -c:v libx264 -movflags +faststart clip.mp4
size=$(stat -c %s clip.mp4)
head -c $((size / 2)) clip.mp4 >cut.mp4
cp clip.mp4 damaged.mp4
printf '\377%.0s' $(seq 2000) | dd of=damaged.mp4 bs=1 seek=$((size / 2)) conv=notrunc status=none
ff -f lavfi -i sine -t 1 tone.m4a
expect 1 "cannot read missing.png: No such file or directory" yiq 150,0,0 missing.png out.png
expect 1 "cannot read cut.png: its picture data cannot be decoded" yiq 150,0,0 cut.png out.png
expect 1 "cannot read text.png: its picture data cannot be decoded (png: Invalid PNG signature" yiq 150,0,0 text.png out.png
expect 1 "cannot read noise.png:" yiq 150,0,0 noise.png out.png
expect 1 "cannot read cut.mp4: cannot decode frame" yiq 150,0,0 cut.mp4 out.mp4
expect 1 "cannot read damaged.mp4: cannot decode frame" yiq 150,0,0 damaged.mp4 out.mp4
grep -qE "frame [0-9]+ \(at [0-9.]+ s\)" stderr.txt || fail "the damaged frame's position is not named: $(cat stderr.txt)"
expect 1 "cannot read tone.m4a: it holds no video or picture" yiq 150,0,0 tone.m4a out.mp4
# Said in the user's words: an empty file, a picture cut where nothing of it
# decodes, an animated WebP (which FFmpeg's decoder does not read), and a
# cut video with sound: its refusal alone, no word on the sound.
: >empty.mp4
expect 1 "cannot read empty.mp4: the file is empty" yiq 150,0,0 empty.mp4 out.mp4
ff -f lavfi -i testsrc2=size=640x480 -frames:v 1 big.png
head -c $(($(stat -c %s big.png) * 6 / 10)) big.png >most.png
expect 1 "cannot read most.png: the picture is cut short or damaged" yiq 150,0,0 most.png out.png
ff -f lavfi -i testsrc=size=32x24:rate=5 -frames:v 3 -c:v libwebp_anim -loop 0 moving.webp
expect 1 "cannot read moving.webp: it is an animated WebP, which this FFmpeg's WebP decoder does not read" \
       yiq 150,0,0 moving.webp out.png
ff -f lavfi -i testsrc2=size=64x48:rate=25 -f lavfi -i sine -t 4 -c:v libvpx -c:a libvorbis sound.webm
head -c $(($(stat -c %s sound.webm) / 2)) sound.webm >sound-cut.webm
expect 1 "cannot read sound-cut.webm: the video ends at" yiq 150,0,0 sound-cut.webm out%04d.png
absent out.png
absent out.mp4
printf 'keep' >kept.png
expect 1 "cannot read cut.png" rgb 0,0,0 cut.png kept.png
[ "$(cat kept.png)" = keep ] || fail "a failed run changed its existing output"

# 16-bit pictures are reduced to 8 bits, with a warning.
expect 0 "warning: deep.png: its pictures have 16 bits per channel" yiq 150,0,0 deep.png deep-out.png
[ -s deep-out.png ] || fail "no output for a 16-bit picture"

# Outputs that cannot be written.
expect 1 "cannot write no-such-folder/out.png: No such file or directory" yiq 150,0,0 in.png no-such-folder/out.png
mkdir taken.png
expect 1 "cannot write taken.png: Is a directory" yiq 150,0,0 in.png taken.png
expect 1 "cannot write no-such-folder/demo.png" demo no-such-folder/demo.png
expect 1 "cannot write out.xyz: no known file format" yiq 150,0,0 in.png out.xyz
expect 1 "cannot write out.mp4: there is no video encoder named nonesuch" yiq 150,0,0 --codec nonesuch in.png out.mp4
# A full disk, as a limit on the file size (ignored signal: the write fails).
(trap '' XFSZ; ulimit -f 16; expect 1 "cannot write full.mkv: File too large" hsv 160,0,0 clip.mp4 full.mkv)
absent full.mkv
no_leftovers
# A file that has the temporary name sorvel would take stays as it is.
sh -c 'printf keep >out.png.sorvel-$$-0.tmp; exec "$0" yiq 150,0,0 in.png out.png' "$sorvel"
[ "$(cat out.png.sorvel-*-0.tmp)" = keep ] && [ -s out.png ] || fail "another file's temporary name was taken"
rm -f out.png out.png.sorvel-*

# The input is never written over: not by its own name, nor through a hard
# or a symbolic link to it.
cp in.png own.png && ln own.png own-hard.png && ln -s own.png own-link.png && cp own.png own-before.png
for out in own.png ./own.png own-hard.png own-link.png; do
    expect 1 "cannot write $out: it is the input file own.png itself" yiq 150,300,0 own.png "$out"
done
cmp -s own.png own-before.png || fail "the input was changed"
no_leftovers
# A replaced output keeps its permissions; one that is a symbolic link stays
# a link, and the file it points to is written.
cp own.png private.png && chmod 600 private.png && ln -s private.png linked.png
for out in private.png linked.png; do
    "$sorvel" yiq 150,300,0 in.png "$out" 2>stderr.txt || fail "sorvel to $out failed: $(cat stderr.txt)"
done
[ "$(stat -c %a private.png)" = 600 ] || fail "a replaced 0600 output became $(stat -c %a private.png)"
[ -L linked.png ] && ! cmp -s private.png own.png || fail "the link was replaced, or its file not written"
no_leftovers

# Interrupted runs leave no temporary file: sorvel waits for more of its
# input from a pipe while SIGNAL reaches it; the shell sees 128 + its number.
ff -f lavfi -i testsrc=size=64x48:rate=25 -t 20 -c:v mpeg2video long.ts
for signal in INT:130 TERM:143 HUP:129; do
    rm -f slow.ts && mkfifo slow.ts
    sh -c 'head -c "$1" long.ts; exec sleep 60' sh $(($(stat -c %s long.ts) / 2)) >slow.ts 2>/dev/null &
    feeder=$!
    # (a shell's background jobs start with SIGINT ignored, which sorvel keeps)
    env --default-signal=INT "$sorvel" yiq 150,0,0 slow.ts stopped.mkv 2>/dev/null &
    run=$!
    for _ in $(seq 100); do ls -a | grep -q '^stopped.mkv.sorvel-.*\.tmp$' && break; sleep 0.1; done
    ls -a | grep -q '^stopped.mkv.sorvel-' || fail "SIG${signal%:*}: no temporary output while reading"
    kill -s "${signal%:*}" "$run"
    wait "$run"
    status=$?
    kill "$feeder"; wait "$feeder" 2>/dev/null
    [ "$status" -eq "${signal#*:}" ] || fail "SIG${signal%:*} ended sorvel with status $status"
    absent stopped.mkv
    no_leftovers
done
# A signal ignored from the start stays ignored (nohup).
nohup "$sorvel" yiq 150,0,0 long.ts hangup.mkv >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do ls -a | grep -q '^hangup.mkv.sorvel-' && break; sleep 0.05; done
kill -s HUP "$run"
wait "$run" || fail "sorvel under nohup ended on SIGHUP"
[ -s hangup.mkv ] || fail "sorvel under nohup wrote nothing"
# A temporary left by a killed run (a process that no longer runs) is removed
# by the next run to the same output; one of a running process stays.
sh -c 'exit 0' & gone=$!; wait $gone
printf x >"out.png.sorvel-$gone-0.tmp" && printf x >"out.png.sorvel-1-0.tmp"
"$sorvel" yiq 150,0,0 in.png out.png 2>stderr.txt || fail "sorvel failed: $(cat stderr.txt)"
[ ! -e "out.png.sorvel-$gone-0.tmp" ] || fail "the killed run's temporary was left"
[ -e out.png.sorvel-1-0.tmp ] || fail "a running process's temporary was removed"
rm -f out.png out.png.sorvel-*

# Streams that end inside a frame: 2x2 frames are 16 bytes.
head -c 10 /dev/zero >short.raw
input=short.raw expect 1 "input ends inside frame 1: 10 of its 16 bytes" yiq 150,0,0 --raw 2x2
[ "$(wc -c <stdout.txt)" -eq 0 ] || fail "a partial frame was written"
head -c 40 /dev/zero >two-and-a-half.raw
input=two-and-a-half.raw expect 1 "input ends inside frame 3: 8 of its 16 bytes (2x2 BGRA); 2 whole frames were written" yiq 150,0,0 --raw 2x2
[ "$(wc -c <stdout.txt)" -eq 32 ] || fail "the two whole frames were not written"

# A reader that goes away: the write fails with a message, not silently.
head -c 4194304 /dev/zero >big.raw
status=$({ "$sorvel" rgb 0,0,0 --raw 1024x1024 <big.raw 2>pipe.txt; echo $? >pipe-status.txt; } | true; cat pipe-status.txt)
if [ "$status" -ne 1 ] || ! grep -q "cannot write frame 1 to standard output" pipe.txt; then
    fail "closed pipe gave status $status and: $(cat pipe.txt)"
fi

# Parameters outside 0..300 are used, with a warning.
expect 0 "warning: yiq intensity 400 lies outside 0..300" yiq 150,400,0 in.png wide.png
[ -s wide.png ] || fail "no output for parameters outside 0..300"

# Help goes to standard output.
for args in "--help" "help hsv" "hsv --help"; do
    # shellcheck disable=SC2086
    "$sorvel" $args >help.txt 2>stderr.txt || fail "sorvel $args failed"
    [ -s help.txt ] && [ ! -s stderr.txt ] || fail "sorvel $args printed no help or an error"
done
grep -q "hue: 0 to 300, default 150" help.txt || fail "hsv help does not explain hue"

# The progress line: on a terminal only, and not with --quiet.
head -c 160 /dev/zero >frames.raw
if command -v script >/dev/null; then
    script -qec "'$sorvel' yiq 150,0,0 --raw 2x2 <frames.raw >/dev/null" /dev/null >tty.txt 2>&1
    grep -q "10 frames" tty.txt || fail "no progress line on a terminal: $(cat tty.txt)"
    script -qec "'$sorvel' yiq 150,0,0 --raw 2x2 --quiet <frames.raw >/dev/null" /dev/null >tty.txt 2>&1
    [ ! -s tty.txt ] || fail "--quiet still printed: $(cat tty.txt)"
    script -qec "'$sorvel' hsv 160,0,0 clip.mp4 progress.mp4" /dev/null >tty.txt 2>&1
    grep -q "100% 25 of 25 frames" tty.txt || fail "no frame total on a terminal: $(cat tty.txt)"
fi
"$sorvel" yiq 150,0,0 --raw 2x2 <frames.raw >/dev/null 2>stderr.txt
[ ! -s stderr.txt ] || fail "progress line on a non-terminal: $(cat stderr.txt)"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all error paths behave"
