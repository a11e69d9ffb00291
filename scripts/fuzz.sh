#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset), replays every seed corpus under the sanitizers, then
# runs each target for SECONDS seconds (30 by default, 0 replays only) on inputs of up to 2 KiB:
# a parser meets its faults within a few lines, and longer inputs only slow the search. Inputs
# found on the way go to a scratch folder, never into the committed corpora; a crash fails the run
# and leaves its input under build/fuzz/crashes/, to go into fuzz/corpus/<target>/ once fixed.
#   scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bin=build/fuzz/bin
crashes=build/fuzz/crashes
mkdir -p "$crashes"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*Fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
for target in "${targets[@]}"; do
    corpus=fuzz/corpus/$target
    dict=()
    [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
    echo "=== $target: replaying $(find "$corpus" -type f | wc -l) inputs"
    find "$corpus" -type f -print0 | xargs -0 "$bin/$target" -artifact_prefix="$crashes/$target-" \
        >"$crashes/$target.log" 2>&1 || { tail -40 "$crashes/$target.log"; exit 1; }
    [ "$seconds" -gt 0 ] || continue
    echo "=== $target: fuzzing for $seconds s"
    scratch=$(mktemp -d)
    status=0
    "$bin/$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -max_len=2048 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$crashes/$target-" "$scratch" "$corpus" >"$crashes/$target.log" 2>&1 || status=$?
    rm -rf "$scratch"
    grep -E '^stat::number_of_executed_units|^Done' "$crashes/$target.log" || true
    if [ $status -ne 0 ]; then
        tail -40 "$crashes/$target.log"
        exit 1
    fi
done
