#!/usr/bin/env bash
# Runs every fuzz target of a QUORVEX_FUZZ build for a bounded time each,
# one after the other, and fails if any of them reports a fault.
#
#   tools/run-fuzzers.sh BUILD_DIR SECONDS
#
# Each target starts from its committed seeds (fuzz/corpus/<target>/, only
# read) and from what its earlier runs found (BUILD_DIR/fuzz-work/<target>/corpus/,
# where new inputs go). A failing input is saved under
# BUILD_DIR/fuzz-work/<target>/artifacts/; every run adds a line to
# BUILD_DIR/fuzz-work/<target>/history.tsv (date, seconds, runs, result).
set -euo pipefail

if [[ $# -ne 2 || ! $2 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [[ ! -s $build/fuzz-targets.txt ]]; then
    echo "error: no fuzz targets listed in $build/fuzz-targets.txt (configure with -DQUORVEX_FUZZ=ON)" >&2
    exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

passed=0
failed=0
while read -r target; do
    [[ -n $target ]] || continue
    work=$build/fuzz-work/$target
    mkdir -p "$work/corpus" "$work/artifacts"
    log=$work/last-run.log
    echo "fuzzing $target for $seconds s"
    # libFuzzer stops itself after max_total_time; the outer timeout is only a
    # guard in case it cannot.
    status=0
    timeout --kill-after=30 $((seconds + 120)) \
        "$build/fuzz/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" \
        "$work/corpus" "$source_dir/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [[ $status -eq 0 ]]; then
        result=ok
        passed=$((passed + 1))
        echo "  ok: ${runs:-?} runs, $(find "$work/corpus" -type f | wc -l) inputs in its working corpus"
    else
        result="failed ($status)"
        failed=$((failed + 1))
        echo "  FAILED with status $status; the end of $log:"
        tail -n 60 "$log" | sed 's/^/    /'
        ls "$work/artifacts" | sed 's/^/    artifact: /'
    fi
    printf '%s\t%s\t%s\t%s\n' "$(date -u +%Y-%m-%dT%H:%MZ)" "$seconds" "${runs:-?}" "$result" >>"$work/history.tsv"
done <"$build/fuzz-targets.txt"

echo "fuzz: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
