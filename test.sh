#!/usr/bin/env bash
# Every test of the game, in stages. With no argument, all of them in this order, which is what
# CI runs: the source format; the normal build and its tests (the unit and drawing tests, then
# the window tests in a virtual X server, then the web page, built and tested in headless
# Chromium); the Debian package built and checked; the unit and drawing tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer; the Windows build under wine.
# Usage: ./test.sh [STAGE]   (./test.sh --help lists the stages; each builds what it needs)
set -euo pipefail
cd "$(dirname "$0")"

stages=(format unit window web package asan windows)

usage() {
    echo "usage: ./test.sh [STAGE]; with no STAGE, every stage in this order:"
    echo "  format   the C++ sources follow .clang-format (tools/check-format.sh)"
    echo "  unit     the normal build (build/) and all its tests but the window and web ones"
    echo "  window   the whole game in windows under Xvfb, driven by xdotool, in the normal build"
    echo "  web      the web page (tools/web.sh): its simulation under node, the page in Chromium"
    echo "  package  the Debian package built (tools/package.sh) and checked"
    echo "  asan     the unit tests again, built with ASan and UBSan (build-asan/), under Xvfb"
    echo "  windows  the Windows build (tools/windows.sh) and its tests under wine, one against Linux"
}

jobs=$(nproc)
# -noreset: by default the X server resets whenever its last client leaves, and a test that
# connects during the reset finds no display. The screen holds the 1600 x 1200 window of the
# seams test whole.
virtual_display=(xvfb-run -a -s "-screen 0 1600x1200x24 -noreset")

# The normal build, with its tests and benchmarks; ./run.sh builds the game alone in a folder
# of its own, build-run/.
configure_normal_build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
          -DDROMLIN_BENCHMARKS=ON > /dev/null
}

# The normal build's tests are split by label: `window` (whole programs in a window) and `web`
# (the page) have stages of their own, and `unit` runs all the others, so that each test runs
# once.
normal_tests() {
    "${virtual_display[@]}" ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600 "$@"
}

stage_format() {
    echo "== source format"
    tools/check-format.sh
}

stage_unit() {
    configure_normal_build
    cmake --build build -j "$jobs"
    echo "== tests of the normal build"
    normal_tests -LE "window|web"
}

stage_window() {
    configure_normal_build
    cmake --build build -j "$jobs" --target dromlin dromlin_free_drawing dromlin-versus \
          dromlin-server dromlin-sim
    echo "== window tests of the normal build"
    normal_tests -L window -LE web
}

stage_web() {
    echo "== the web page"
    tools/web.sh > /dev/null
    # The page's test drives Chromium through puppeteer-core, pinned by the lock file.
    [ -d tests/window/web/node_modules/puppeteer-core ] ||
        npm ci --prefix tests/window/web --no-audit --no-fund --loglevel=error
    # The web tests are the normal build's; the versus page's play against its server, a bot
    # and the desktop's window.
    configure_normal_build
    cmake --build build -j "$jobs" --target dromlin-server dromlin-sim dromlin-versus
    echo "== web tests of the normal build"
    normal_tests -L web
}

stage_package() {
    echo "== the Debian package"
    tools/package.sh --no-deps
    bash tests/package/package_test.sh dist/dromlin_*.deb
}

stage_asan() {
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDROMLIN_SANITIZE=ON \
          -DDROMLIN_BENCHMARKS=OFF > /dev/null
    cmake --build build-asan -j "$jobs"
    echo "== unit tests under the sanitizers"
    # The drawing tests open GL contexts too, so they run in a virtual X server; the
    # whole-program window tests and the page's tests are left to the normal build.
    # LP_NUM_THREADS=0: llvmpipe draws on the test's own thread. Its rasteriser threads may
    # still be ending when LeakSanitizer stops the process to look for leaks, and its tracer
    # then crashed once in a while, failing a test that had passed.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 LP_NUM_THREADS=0 \
        "${virtual_display[@]}" \
        ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE "window|web" --timeout 900
}

stage_windows() {
    echo "== the Windows build under wine"
    tools/windows.sh > /dev/null
    # The Windows clients play against the Linux server and bot of the normal build.
    configure_normal_build
    cmake --build build -j "$jobs" --target dromlin-server dromlin-sim
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        bash tests/windows/windows_test.sh build-windows dist
    # A bot of the Windows build against a Linux one, through the Linux server.
    configure_normal_build
    cmake --build build -j "$jobs" --target dromlin-server dromlin-sim
    bash tests/windows/versus_test.sh build-windows build
}

case "${1:-}" in
    "")
        tools/install-deps.sh test
        for stage in "${stages[@]}"; do
            "stage_$stage"
        done
        ;;
    -h | --help)
        usage
        ;;
    *)
        if [ $# -ne 1 ] || [[ ! " ${stages[*]} " =~ " $1 " ]]; then
            usage >&2
            exit 2
        fi
        tools/install-deps.sh "test-$1"
        "stage_$1"
        ;;
esac
