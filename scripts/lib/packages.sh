# shellcheck shell=sh
# The package groups of scripts/install-deps and the helpers that read
# apt's and dpkg's answers. Sourced, not run.

release_codename() {
    (. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-unknown}") || echo unknown
}

# The Debian packages of each group, by release where names differ.
build_packages() {
    echo cmake make g++ pkg-config git \
        g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
        libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libavutil-dev \
        frei0r-plugins-dev libstb-dev libexiv2-dev help2man
}

# What scripts/package adds: CPack's Debian step finds the libraries'
# dependencies with dpkg-shlibdeps (dpkg-dev), which runs file.
package_packages() {
    echo dpkg-dev file
}

test_packages() {
    # The sanitizer runtime must match the clang that the release installs;
    # qemu-user has static programs from Debian 13 on, before that
    # qemu-user-static has them.
    qemu="qemu-user"
    case $1 in
    bookworm) llvm=14 qemu=qemu-user-static ;;
    trixie) llvm=19 ;;
    *) llvm=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n1) ;;
    esac
    echo googletest libgtest-dev libbenchmark-dev libpng-dev \
        wine wine64 xvfb xauth ninja-build \
        clang "libclang-rt-${llvm:-14}-dev" clang-tidy cppcheck \
        ffmpeg melt gstreamer1.0-tools gstreamer1.0-plugins-bad imagemagick opencolorio-tools exiv2 icc-profiles-free \
        libxml2-utils qtdeclarative5-dev-tools \
        gcc-i686-linux-gnu g++-i686-linux-gnu libc6-dev-i386-cross "$qemu" \
        shellcheck clang-format python3 lintian man-db debootstrap zstd
}

# Where install-deps leaves the reason 32-bit Wine could not be installed,
# for the build to name when it skips those tests.
wine32_note_file() {
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/sorvel/wine32-not-installed"
}

missing_packages() {
    missing=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
    done
    echo "$missing"
}

# From apt-get update's output on standard input: the indexes that failed,
# with the first reason given.
failed_indexes() {
    awk '/^Err:/ { $1 = ""; sub(/^ +[^ ]+ +/, ""); list = list (list ? ", " : "") $0 }
         /^[EW]: Failed to fetch/ && !why { why = $0; sub(/^[^ ]+ Failed to fetch [^ ]+ +/, "", why); sub(/ *\[IP: [^]]*\]$/, "", why) }
         END { if (list) print list (why ? " (" why ")" : "") }'
}

# From apt-get install's output on standard input: its reason in one line,
# naming the package.
apt_reason() {
    awk '/^E: / && !err { err = substr($0, 4) }
         /^ +[^ ]+ : (Pre)?Depends: / && !dep { dep = $0; gsub(/^ +| +$/, "", dep); gsub(/  +/, " ", dep) }
         END {
             if (err ~ /held (broken )?packages/) err = "held broken packages"
             print err (dep ? "; " dep : "")
         }'
}

# Without apt-get: what to install, by the usual names, and whether the
# commands and pkg-config modules of the group are there.
not_debian() {
    echo "install-deps: this system has no apt-get; install these with its package manager:"
    echo "  build: CMake, make, a C++17 compiler (g++), pkg-config, git, help2man, the mingw-w64 cross"
    echo "         compilers for i686 and x86_64, FFmpeg's development files, the frei0r header, stb"
    echo "         pkg-config modules: libavformat libavcodec libavfilter libswscale libavutil exiv2"
    if [ "$1" != build ]; then
        echo "  package: dpkg-dev (dpkg-shlibdeps), file"
    fi
    if [ "$1" = test ]; then
        echo "  test:  GoogleTest, Google Benchmark, libpng, Wine (64-bit, and 32-bit for those tests), Xvfb,"
        echo "         Ninja, clang with its sanitizer runtime, clang-tidy, cppcheck, ffmpeg, melt, GStreamer"
        echo "         (gst-launch-1.0, plugins-bad), ImageMagick, xmllint, qmllint (Qt 5), shellcheck, clang-format 14, lintian, debootstrap,"
        echo "         a static i686 Linux C++ compiler (i686-linux-gnu-g++), qemu-user (qemu-i386-static)"
        echo "         pkg-config modules: gtest benchmark libpng"
    fi
    absent=""
    for c in cmake make c++ pkg-config git help2man i686-w64-mingw32-g++ x86_64-w64-mingw32-g++; do
        command -v "$c" >/dev/null || absent="$absent $c"
    done
    modules="libavformat libavcodec libavfilter libswscale libavutil exiv2"
    [ "$1" != test ] || modules="$modules gtest benchmark libpng"
    for m in $modules; do
        pkg-config --exists "$m" 2>/dev/null || absent="$absent $m.pc"
    done
    if [ -n "$absent" ]; then
        echo "install-deps: missing:$absent" >&2
        return 1
    fi
    echo "install-deps: the $1 tools and modules are present; this system is not tested"
}
