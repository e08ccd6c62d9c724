#!/usr/bin/env bash
# The long soak: generated battles checked after every step, in an optimised build with
# AddressSanitizer and UndefinedBehaviorSanitizer. The steps are shared out over parallel
# runs with seeds 1, 2, ...; each run writes its battles to build-soak/soak-<seed>.log.
# Usage: tools/soak.sh [total steps, default 1000000] [parallel runs, default 2]
set -euo pipefail
cd "$(dirname "$0")/.."

total=${1:-1000000}
runs=${2:-2}
build=build-soak

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROMLIN_SANITIZE=ON \
      -DDROMLIN_SIM_ONLY=ON -DDROMLIN_BENCHMARKS=OFF -DBUILD_TESTING=OFF > /dev/null
cmake --build "$build" --target dromlin-soak -j "$(nproc)" > /dev/null

share=$(( (total + runs - 1) / runs ))
start=$SECONDS
pids=()
for seed in $(seq 1 "$runs"); do
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/dromlin-soak" --steps "$share" --seed "$seed" > "$build/soak-$seed.log" 2>&1 &
    pids+=($!)
done
status=0
for i in "${!pids[@]}"; do
    seed=$((i + 1))
    if ! wait "${pids[$i]}"; then
        status=1
        echo "run with seed $seed failed:"
        tail -n 30 "$build/soak-$seed.log"
    fi
    tail -n 1 "$build/soak-$seed.log"
done
echo "soak of $((share * runs)) steps in $runs runs took $((SECONDS - start)) s"
exit $status
