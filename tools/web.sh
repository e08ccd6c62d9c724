#!/usr/bin/env bash
# Builds the game as a web page into dist/web/ with Debian's emscripten, installing it first
# when it is missing. Usage: tools/web.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh web

# Debian's emcc runs under whatever python3 comes first on the PATH, which may lack the
# modules it needs; Debian's own always has them. Its JavaScript optimizer finds Debian's
# acorn only through NODE_PATH when the node on the PATH is not Debian's.
export EMSDK_PYTHON=/usr/bin/python3
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

build=build-web
out=dist/web
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)"

# emcc's own page step fails in this emscripten, so the page is ours: web/ holds it.
rm -rf "$out"
mkdir -p "$out"
cp web/index.html web/versus.html web/page.css web/page.js "$out"/
cp "$build"/dromlin.js "$build"/dromlin.wasm "$build"/dromlin.data "$out"/

echo "The game is in $out/. Serve it and open it in a browser:"
echo "  python3 -m http.server -d $out 8000"
echo "  then open http://localhost:8000"
