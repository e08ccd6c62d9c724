#!/usr/bin/env bash
# The page's simulation fights the desktop's battle: the headless runner, built by emscripten
# from the same simulation library as the page (tools/web.sh) and run under node, replays every
# recorded map1 trace byte for byte, and re-fights every committed replay with each of its
# hashes holding. The runner holds its own copy of map1.txt at /map1.txt and of the replays at
# /replays/NAME.jsonl.
# Usage: bash web_trace_test.sh <emscripten build folder, build-web>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/lib.sh"
runner=${1:?usage: web_trace_test.sh <emscripten build folder>}/dromlin-sim.js

[ -f "$runner" ] || fail "no $runner: build the page with tools/web.sh"
command -v node > /dev/null || fail "the web trace test needs node"

# Into a file: node writes to a pipe asynchronously, and the runner's exit cuts the pipe short.
out=$(work_file .jsonl)
count=0
for trace in "$here"/traces/map1-seed*-view*-steps*.jsonl.gz; do
    name=$(basename "$trace" .jsonl.gz)
    [[ $name =~ ^map1-seed([0-9]+)-view([0-9]+)-steps([0-9]+)$ ]] || fail "unexpected trace $name"
    node "$runner" /map1.txt --trace --seed "${BASH_REMATCH[1]}" \
        --view "${BASH_REMATCH[2]}" --steps "${BASH_REMATCH[3]}" > "$out" 2> /dev/null ||
        fail "the runner failed on $name"
    gzip -dc "$trace" | cmp -s "$out" - || fail "the page's simulation left $name"
    count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "no map1 trace in $here/traces"
replays=0
for replay in "$here"/replays/*.jsonl; do
    name=$(basename "$replay")
    node "$runner" --replay "/replays/$name" > "$out" 2> /dev/null ||
        fail "the page's simulation left the replay $name (or the runner lacks it: rebuild)"
    replays=$((replays + 1))
done
[ "$replays" -gt 0 ] || fail "no replay in $here/replays"
pass "the page's simulation replays all $count map1 traces byte for byte and re-fights" \
    "all $replays replays"
