#!/usr/bin/env bash
# Checks the Debian package as a player's system would see it: the files it installs by
# Debian's layout for games, the version from CMake in the package, the manual pages and the
# metainfo, dependencies computed from the linked libraries, the desktop entry and the
# metainfo by their validators, lintian with no errors, and the packaged dromlin-sim fighting
# on the packaged map. Needs no network.
# Usage: bash package_test.sh <dromlin_VERSION_ARCH.deb>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
source "$here/../support/lib.sh"
deb=${1:?usage: package_test.sh <dromlin .deb>}

root=$WORK_DIR/root
dpkg-deb -x "$deb" "$root" || fail "$deb is not a package dpkg-deb can unpack"

version=$(sed -n 's/^project(dromlin VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
field() { dpkg-deb -f "$deb" "$1"; }
check "package dromlin, version $version from CMake" \
    test "$(field Package) $(field Version)" = "dromlin $version"
check "file named by Debian's rule" test "$(basename "$deb")" = "dromlin_${version}_$(field Architecture).deb"
depends=$(field Depends)
check "dependencies computed from the linked libraries" \
    bash -c '[[ $1 == *libglut* && $1 == *libdevil* && $1 == *libgl1* && $1 == *libc6* ]]' - "$depends"

check "launcher /usr/games/dromlin runs the game in its data folder" \
    grep -qx 'cd "/usr/share/games/dromlin" || exit 1' "$root/usr/games/dromlin"
check "launcher starts /usr/lib/games/dromlin/dromlin" test -x "$root/usr/games/dromlin" -a \
    -x "$root/usr/lib/games/dromlin/dromlin"
check "dromlin-sim on the PATH" test -x "$root/usr/games/dromlin-sim"
check "dromlin-server on the PATH" test -x "$root/usr/games/dromlin-server"
check "launcher /usr/games/dromlin-versus starts /usr/lib/games/dromlin/dromlin-versus" \
    bash -c 'grep -q "/usr/lib/games/dromlin/dromlin-versus" "$1/usr/games/dromlin-versus" &&
             test -x "$1/usr/lib/games/dromlin/dromlin-versus"' - "$root"
unit=$root/usr/lib/systemd/system/dromlin-server.service
check "the server's systemd unit runs the packaged server on loopback" \
    grep -q '^ExecStart=/usr/games/dromlin-server --listen 127.0.0.1:8080 ' "$unit"
check "the unit is installed, not enabled" bash -c '! find "$1" -path "*wants*" | grep -q .' - "$root"
check "the page and versus.html beside it for the server to serve" \
    test -f "$root/usr/share/games/dromlin/web/index.html" -a \
    -f "$root/usr/share/games/dromlin/web/versus.html"
missing_data=$(cd "$top/assets" && find . -type f | while read -r f; do
    cmp -s "$f" "$root/usr/share/games/dromlin/$f" || echo "$f"; done)
check "every picture, font and map1.txt in /usr/share/games/dromlin" test -z "$missing_data"
for size in 48 64 128 256; do
    check "hicolor icon at $size px" bash -c \
        '[ "$(identify -format %wx%h "$1")" = "$2x$2" ]' - \
        "$root/usr/share/icons/hicolor/${size}x$size/apps/dromlin.png" "$size"
done

desktop=$root/usr/share/applications/org.dromlin.dromlin.desktop
metainfo=$root/usr/share/metainfo/org.dromlin.dromlin.metainfo.xml
check "desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"
check "desktop entry in Game and StrategyGame" grep -qx 'Categories=Game;StrategyGame;' "$desktop"
check "metainfo passes appstreamcli validate" appstreamcli validate --no-net "$metainfo"
check "metainfo names release $version" grep -q "<release version=\"$version\"" "$metainfo"
for page in dromlin dromlin-sim dromlin-server dromlin-versus; do
    man_file=$root/usr/share/man/man6/$page.6.gz
    check "manual page $page(6) of version $version" bash -c \
        'zcat "$1" | grep -Eq "^\.TH [A-Z\\-]+ 6 \"[0-9]{4}-[0-9]{2}-[0-9]{2}\" \"dromlin $2\""' - "$man_file" "$version"
    # groff's warnings, as lintian reads them, fail the check.
    check "manual page $page(6) renders without warnings" bash -c \
        '[ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 > /dev/null)" ]' \
        - "$man_file"
done
check "copyright states MIT (Expat) for The Dromlin developers" bash -c \
    'grep -q "^License: Expat" "$1" && grep -q "^Copyright: 2026 The Dromlin developers" "$1"' \
    - "$root/usr/share/doc/dromlin/copyright"
check "changelog of version $version" bash -c 'zcat "$1" | head -n 1 | grep -q "^dromlin ($2)"' \
    - "$root/usr/share/doc/dromlin/changelog.gz" "$version"

sim_line=$("$root/usr/games/dromlin-sim" "$root/usr/share/games/dromlin/map1.txt" --steps 20 2>&1)
check "packaged dromlin-sim fights on the packaged map" \
    bash -c '[[ $1 == "{\"step\": 20, "* ]]' - "$sim_line"

lintian_report=$(lintian --fail-on error "$deb" 2>&1)
lintian_status=$?
check "lintian reports no errors" test "$lintian_status" -eq 0
if [ -n "$lintian_report" ]; then
    grep -v "running with root privileges" <<< "$lintian_report"
fi

check_summary package
