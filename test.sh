#!/usr/bin/env bash
# Installs what is missing, builds the game, its sanitizer build and its web page, and runs
# every test: all tests of the normal build (window tests in a virtual X server, the page in
# headless Chromium), the Debian package built and checked, the unit and drawing tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows build under wine.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh test
jobs=$(nproc)

echo "== source format"
tools/check-format.sh

# Options named again: ./run.sh configures the same folder without tests or benchmarks.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DDROMLIN_BENCHMARKS=ON > /dev/null
cmake --build build -j "$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DDROMLIN_SANITIZE=ON \
      -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build build-asan -j "$jobs"

echo "== the web page"
tools/web.sh > /dev/null
# The page's test drives Chromium through puppeteer-core, pinned by the lock file.
[ -d tests/window/web/node_modules/puppeteer-core ] ||
    npm ci --prefix tests/window/web --no-audit --no-fund --loglevel=error

echo "== tests of the normal build"
# -noreset: by default the X server resets whenever its last client leaves, and a test that
# connects during the reset finds no display. The screen holds the 1600 x 1200 window of the
# seams test whole.
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" \
    ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

echo "== the Debian package"
tools/package.sh --no-deps
bash tests/package/package_test.sh dist/dromlin_*.deb

echo "== unit tests under the sanitizers"
# The drawing tests open GL contexts too, so they run in a virtual X server; the whole-program
# window tests are left to the normal build.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE "window" --timeout 900

echo "== the Windows build under wine"
tools/windows.sh > /dev/null
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    bash tests/windows/windows_test.sh build-windows dist
