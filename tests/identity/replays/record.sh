#!/usr/bin/env bash
# Records the committed replays again from their order lists, with the runner given (a desktop
# build's dromlin-sim), after a change that is meant to change the battle. Each replay is named
# MAP-seedS-viewV.jsonl after its map (map1, the shipped one, or one under ../maps), its seed and
# its view; its orders are in MAP-seedS-viewV.orders and its length is `steps` below.
# Usage: bash record.sh <dromlin-sim>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runner=${1:?usage: record.sh <dromlin-sim>}
steps=1500

for orders in "$here"/*.orders; do
    name=$(basename "$orders" .orders)
    [[ $name =~ ^(.+)-seed([0-9]+)-view([0-9])$ ]] || { echo "unexpected $name" >&2; exit 1; }
    map=${BASH_REMATCH[1]}
    case $map in
        map1) map_file=$here/../../../assets/map1.txt ;;
        *) map_file=$here/../maps/$map.txt ;;
    esac
    "$runner" "$map_file" --steps "$steps" --seed "${BASH_REMATCH[2]}" --view "${BASH_REMATCH[3]}" \
        --orders "$orders" --record "$here/$name.jsonl" > /dev/null
    echo "recorded $name.jsonl"
done
