# shellcheck shell=bash
# What the tables of sorvel runs share (media-table.sh, real-files.sh):
# ffmpeg and ffprobe as they call them, frames as raw BGRA, the count of
# failed checks, a row split into its fields, the check of a property the
# output keeps from its source, and the check of a row that must be refused.
# Sourced, not run.

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
probe() { ffprobe -v error -of default=nw=1:nk=1 "$@"; }
# bgra FILE [OPTIONS...]: FILE's frames as raw BGRA on standard output.
bgra() { ff -i "$1" "${@:2}" -f rawvideo -pix_fmt bgra -; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# split_row ROW: "SOURCE | sorvel's arguments | OUTPUT | CHECKS" into
# source, command, args (its words), output, checks, and the row's name
# "SOURCE -> OUTPUT" for the messages. The tables read them.
# shellcheck disable=SC2034
split_row() {
    IFS='|' read -r source command output checks <<<"$1"
    read -r source <<<"$source"
    read -r output <<<"$output"
    read -r -a args <<<"$command"
    name="$source -> $output"
}

# same_property CHECK SOURCE: the row's output says of CHECK what SOURCE
# says, as the table's own property function reports it.
same_property() {
    property "$1" "$2" >want.txt
    property "$1" "$output" >got.txt
    [ -s want.txt ] || fail "$name: the source has no $1"
    cmp -s want.txt got.txt || fail "$name: $1 differs: $(diff want.txt got.txt | head -4 | tr '\n' ' ')"
}

# refused_row SORVEL: a row with refused=MESSAGE. sorvel must exit with 1
# and print MESSAGE as its error, and leave nothing behind: no OUTPUT (nor
# the first file of a numbered OUTPUT%04d) and no temporary file.
refused_row() {
    local message status left
    message=$(sed 's/^ *refused=//; s/ *$//' <<<"$checks")
    "$1" "${args[@]}" -q "$source" "$output" 2>stderr.txt
    status=$?
    [ "$status" -eq 1 ] && grep -qF "sorvel: error: $message" stderr.txt ||
        fail "$name: status $status and '$(cat stderr.txt)', not '$message'"
    [ ! -e "${output/\%04d/0001}" ] || fail "$name: wrote $output"
    for left in .sorvel*; do [ ! -e "$left" ] || fail "$name: left $left"; done
}
