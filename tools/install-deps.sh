#!/usr/bin/env bash
# Installs the Debian packages the game needs and that are missing. Calls apt only when
# something is missing. Usage: tools/install-deps.sh GROUP, where GROUP is run, package, web,
# windows, headless, memcheck, fuzz or docs-pictures (what ./run.sh and the tools need), test (everything
# ./test.sh needs) or test-STAGE (what the one stage ./test.sh STAGE needs).
set -euo pipefail

run_packages=(cmake g++ make pkg-config freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev
              libgl1-mesa-dri libdevil-dev libx11-dev nlohmann-json3-dev libboost1.81-dev)
headless_packages=(xvfb xauth)
# The web page's build (tools/web.sh).
web_packages=(cmake make emscripten nlohmann-json3-dev)
# dpkg-dev gives the hardening flags and dpkg-shlibdeps, which reads the linked libraries
# with the help of file.
package_packages=(dpkg-dev file)
# The Windows build (tools/windows.sh): the cross compiler, wine to run what it makes, NSIS for
# the installer, icotool for the icon, stb_image for the pictures, Boost's headers for the
# versus client's WebSocket; dpkg-dev and xz-utils unpack freeglut's source package.
windows_packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine nsis zip
                  icoutils libstb-dev dpkg-dev xz-utils nlohmann-json3-dev libboost1.81-dev)
package_check_packages=(lintian desktop-file-utils appstream man-db)
# tools/fuzz.sh: clang with libFuzzer and the sanitizers' run-time; GoogleTest, as the fuzz
# targets are configured with the tests.
fuzz_packages=(cmake make g++ clang libclang-rt-dev libgtest-dev nlohmann-json3-dev
               libboost1.81-dev)
# The page's test drives Chromium from node; a node installed from elsewhere (with its own
# npm) is kept.
test_packages=(libgtest-dev libbenchmark-dev clang-format xvfb xauth xdotool imagemagick x11-utils
               "${web_packages[@]}" chromium "${package_packages[@]}"
               "${package_check_packages[@]}" "${windows_packages[@]}")
command -v npm > /dev/null || test_packages+=(npm)

# The stages of ./test.sh one at a time, each a part of test_packages. The normal build's tests
# need GoogleTest, Google Benchmark (./test.sh builds the benchmarks), stb_image (the picture
# decoders' test) and a virtual X server; the window tests also drive and photograph windows.
unit_test_packages=(libgtest-dev libbenchmark-dev libstb-dev "${headless_packages[@]}")
window_tools=(xdotool imagemagick x11-utils)
web_test_packages=("${unit_test_packages[@]}" "${web_packages[@]}" chromium imagemagick)
command -v npm > /dev/null || web_test_packages+=(npm)
# tools/memcheck.sh: the game and the soak in the normal build, valgrind, and a virtual X
# server with xdotool for the battle's clicks.
memcheck_packages=(libgtest-dev valgrind xdotool "${headless_packages[@]}")
# tools/docs-pictures.sh: the game under a virtual X server photographed, the page in Chromium,
# and the picture generator's imaging library and font for the contact sheet.
docs_pictures_packages=(xdotool imagemagick x11-utils "${headless_packages[@]}"
                        "${web_packages[@]}" chromium python3-pil fonts-dejavu-core)
command -v npm > /dev/null || docs_pictures_packages+=(npm)

usage="run|package|web|windows|headless|memcheck|fuzz|docs-pictures|test"
usage+="|test-format|test-unit|test-window|test-web|test-package|test-asan|test-windows"
case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
    package) wanted=("${run_packages[@]}" "${package_packages[@]}" "${web_packages[@]}") ;;
    web) wanted=("${web_packages[@]}") ;;
    windows) wanted=("${windows_packages[@]}") ;;
    headless) wanted=("${headless_packages[@]}") ;;
    memcheck) wanted=("${run_packages[@]}" "${memcheck_packages[@]}") ;;
    fuzz) wanted=("${fuzz_packages[@]}") ;;
    docs-pictures) wanted=("${run_packages[@]}" "${docs_pictures_packages[@]}") ;;
    test-format) wanted=(clang-format) ;;
    test-unit | test-asan) wanted=("${run_packages[@]}" "${unit_test_packages[@]}") ;;
    test-window) wanted=("${run_packages[@]}" "${unit_test_packages[@]}" "${window_tools[@]}") ;;
    test-web) wanted=("${run_packages[@]}" "${web_test_packages[@]}") ;;
    test-package) wanted=("${run_packages[@]}" "${package_packages[@]}" "${web_packages[@]}"
                          "${package_check_packages[@]}" imagemagick) ;;
    test-windows) wanted=("${windows_packages[@]}" "${headless_packages[@]}"
                          "${window_tools[@]}") ;;
    *) echo "usage: $0 $usage" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
