#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in its assets folder.
set -euo pipefail
cd "$(dirname "$0")"

# The player's build has a folder of its own: the tests' build/ is configured with tests and
# benchmarks, and sharing one folder would turn them off and on at each switch.
build=build-run

tools/install-deps.sh run
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
      -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target dromlin

if [ -z "${DISPLAY:-}" ]; then
    # Without a display the game can still run in a virtual one: make the advice work.
    tools/install-deps.sh headless
    echo "No display: run it on a desktop, or without one as: xvfb-run -a -s '-screen 0 1024x768x24' ./run.sh"
    exit 1
fi
cd assets
exec "../$build/dromlin" "$@"
