#!/usr/bin/env bash
# Builds the Debian package: installs what the build needs, builds the game optimised with
# Debian's hardening flags in build-pkg/, and leaves dist/dromlin_<version>_<arch>.deb.
# Usage: tools/package.sh [--no-deps]   (--no-deps: the packages are known to be there)
set -euo pipefail
cd "$(dirname "$0")/.."

install_deps=yes
for argument in "$@"; do
    case "$argument" in
        --no-deps) install_deps=no ;;
        *) echo "usage: $0 [--no-deps]" >&2; exit 2 ;;
    esac
done
[ "$install_deps" = no ] || tools/install-deps.sh package

build=build-pkg
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
# The page goes into the package for the versus server to serve.
tools/web.sh > /dev/null
# Only what goes into the package is built.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
      -DBUILD_TESTING=OFF -DDROMLIN_BENCHMARKS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON > /dev/null
cmake --build "$build" -j "$(nproc)" --target dromlin dromlin-sim dromlin-versus dromlin-server \
      dromlin_package_files

rm -rf "$build/cpack"
(cd "$build" && cpack -B cpack > /dev/null)
mkdir -p dist
rm -f dist/dromlin_*.deb
mv "$build"/cpack/dromlin_*.deb dist/
echo "dist/$(cd dist && ls dromlin_*.deb)"
