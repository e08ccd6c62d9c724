#!/usr/bin/env bash
# Hosts two-player battles from a clone: installs what is missing, builds the page and
# dromlin-server, and starts the server, which serves the page from dist/web/.
# Usage: tools/host.sh [dromlin-server's options], e.g. tools/host.sh --listen 0.0.0.0:8080
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-run
tools/install-deps.sh run
tools/web.sh > /dev/null
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
      -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target dromlin-server
exec "$build/dromlin-server" --web dist/web "$@"
