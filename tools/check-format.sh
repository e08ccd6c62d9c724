#!/usr/bin/env bash
# Every C++ source the repository tracks follows .clang-format, and the ground floor, base/,
# includes nothing of the game's other folders; prints what strays.
# Usage: tools/check-format.sh   (tools/check-format.sh --fix rewrites them)
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${sources[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror "${sources[@]}" 2> /dev/null; then
    echo "Not formatted as .clang-format says (tools/check-format.sh --fix mends them):"
    for source in "${sources[@]}"; do
        clang-format --dry-run --Werror "$source" > /dev/null 2>&1 || echo "  $source"
    done
    exit 1
fi
echo "format: ${#sources[@]} sources follow .clang-format"

# base/ is the floor every room stands on: an include from it may point only into base/.
if git grep -n -E '^#include "' -- 'base/*' | grep -v -E '#include "base/'; then
    echo "base/ includes a folder above it (lines above): base/ may include only base/"
    exit 1
fi
echo "format: base/ includes only base/"
