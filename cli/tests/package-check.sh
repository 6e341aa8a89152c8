#!/bin/sh
# Runs scripts/package into a folder of its own and checks what each
# archive holds.
#   package-check.sh OUTDIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$1
rm -rf "$out" && mkdir -p "$out"
"$root/scripts/package" "$out"
status=0
expect() {  # ARCHIVE ENTRY...
    archive=$1
    shift
    listing=$(cmake -E tar tf "$out/$archive")
    for entry in "$@"; do
        printf '%s\n' "$listing" | grep -qx "$entry" || { echo "FAIL: $archive lacks $entry"; status=1; }
    done
}
for target in win32 win64; do
    expect sorvel-1.0-$target.zip plugins/sorvYIQ.vdf plugins/sorvRGB.vdf plugins/sorvSV.vdf \
        plugins/sorvelYIQ.txt plugins/sorvelRGB.txt plugins/sorvSV.txt sorvel.exe sorvel-readme.md
done
linux=sorvel-1.0-linux-$(uname -m)
expect "$linux.tar.gz" "$linux/bin/sorvel" "$linux/sorvel-readme.md"
for f in "$root"/dist/frei0r/*.so; do
    [ ! -f "$f" ] || expect "$linux.tar.gz" "$linux/lib/frei0r-1/$(basename "$f")"
done
mkdir "$out/unpacked"
(cd "$out/unpacked" && cmake -E tar xf "../$linux.tar.gz")
"$out/unpacked/$linux/bin/sorvel" --version | grep -q "sorvel 1.0" || { echo "FAIL: packed binary"; status=1; }
[ $status -eq 0 ] && echo "packages hold what they should"
exit $status
