#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows with Debian's mingw-w64 and leaves what a Windows
# player downloads in dist/: dromlin-<version>-win64.zip and dromlin-<version>-setup.exe.
# Installs what it needs first. A second run reuses freeglut and the build of the first.
# Usage: tools/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh windows

build=build-windows
toolchain=$PWD/windows/toolchain.cmake
freeglut=$PWD/$build/freeglut
jobs=$(nproc)

# The machine's own mirror and release, read from apt's configuration, so that nothing here
# names a host or a release of its own.
debian_mirror() {
    local suite=$1
    apt-cache policy | awk -v want="$suite/main" '$3 == want && $2 ~ /^https?:/ { print $2; exit }'
}

# freeglut's source comes from Debian's source package. apt is pointed at a sources list and a
# lists folder of our own, so the machine's apt configuration stays as it was.
fetch_freeglut_source() {
    local apt=$freeglut/apt suite mirror
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mirror=$(debian_mirror "$suite")
    [ -n "$mirror" ] || { echo "no mirror for $suite main in apt's configuration" >&2; exit 1; }
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$freeglut/source"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" \
        > "$apt/sources.list"
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                   -o "Dir::State::status=/var/lib/dpkg/status" -o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -qq
    (cd "$freeglut/source" && apt-get "${options[@]}" source -qq --download-only freeglut &&
        dpkg-source -x --no-check freeglut_*.dsc tree > /dev/null)
}

# A static library, so the game ships as one executable with no DLL beside it.
build_freeglut() {
    [ -f "$freeglut/prefix/lib/libfreeglut_static.a" ] && return 0
    echo "== freeglut from Debian's source package, cross-built"
    rm -rf "$freeglut"
    fetch_freeglut_source
    cmake -S "$freeglut/source/tree" -B "$freeglut/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$freeglut/prefix" \
        -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
        -DFREEGLUT_BUILD_DEMOS=OFF > /dev/null
    cmake --build "$freeglut/build" -j "$jobs" > /dev/null
    cmake --install "$freeglut/build" > /dev/null
}

build_freeglut

echo "== the game for Windows"
cmake -S . -B "$build/game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DDROMLIN_BENCHMARKS=OFF -DDROMLIN_FREEGLUT_PREFIX="$freeglut/prefix" \
    > /dev/null
cmake --build "$build/game" -j "$jobs" --target dromlin_windows_dist

echo "Windows downloads:"
ls -l dist/dromlin-*-win64.zip dist/dromlin-*-setup.exe
