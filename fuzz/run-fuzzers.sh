#!/usr/bin/env bash
# Runs every libFuzzer target of a build made with -DPLAX_FUZZ=ON for a
# bounded time from its seed corpus, a few at a time, and prints how many
# inputs each ran. New inputs go to a scratch folder, never into the seeds.
# A crash stops with the path of the input that caused it: mend the fault,
# then keep the input as fuzz/crashes/<target>/<name> so the tests run it.
#
# Usage: run-fuzzers.sh <build dir> [seconds per target] [targets at once]
set -euo pipefail
build="$(cd "$1" && pwd)"
seconds="${2:-15}"
parallel="${3:-4}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

run_one() {
    local name="$1" exe="$build/fuzz/fuzz_$1"
    mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
    if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" "$here/corpus/$name" \
        >"$work/$name/log" 2>&1; then
        local runs
        runs=$(grep -m1 'stat::number_of_executed_units' "$work/$name/log" | awk '{print $2}')
        echo "fuzz $name: ${runs:-?} inputs in ${seconds} s, no fault"
    else
        echo "fuzz $name: FAULT; the log follows"
        tail -40 "$work/$name/log"
        for a in "$work/$name/artifacts"/*; do
            [ -e "$a" ] || continue
            mkdir -p "$build/fuzz/found/$name"
            cp "$a" "$build/fuzz/found/$name/"
            echo "input kept as $build/fuzz/found/$name/$(basename "$a")"
        done
        return 1
    fi
}
export -f run_one
export build seconds here work

targets=()
for exe in "$build"/fuzz/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] && targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
done
[ "${#targets[@]}" -gt 0 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }
printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_one "$@"' _ {}
