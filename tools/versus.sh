#!/usr/bin/env bash
# Plays a friend from a clone: installs what is missing, builds dromlin-versus and starts it
# against the server at HOST:PORT, opening a room or, with a CODE, joining it.
# Usage: tools/versus.sh HOST:PORT [CODE]
set -euo pipefail
cd "$(dirname "$0")/.."

[ $# -ge 1 ] || { echo "usage: $0 HOST:PORT [CODE]" >&2; exit 2; }
build=build-run
tools/install-deps.sh run
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
      -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target dromlin-versus
cd assets
exec "../$build/dromlin-versus" "$@"
