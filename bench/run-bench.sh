#!/usr/bin/env bash
# `make bench`: runs every benchmark headless and prints one table. Each
# benchmark prints its rows as "ROW<TAB>..." lines; everything else it says
# goes to a log under BUILD_DIR/bench-results/.
# Usage: bench/run-bench.sh [BUILD_DIR]
set -u

build_dir=$(cd "${1:-build}" && pwd)
bench_dir="$build_dir/bench"
out="$build_dir/bench-results"
rows="$out/rows.tsv"
mkdir -p "$out"
: >"$rows"
started=$SECONDS

export QT_QPA_PLATFORM=offscreen
# The benchmarks give themselves per-user folders of their own; this keeps
# the toolkit from warning about a missing runtime folder.
export XDG_RUNTIME_DIR="$out/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# run NAME SECONDS COMMAND...: a bounded run whose rows join the table; a run
# that fails or overruns adds an error row instead of hiding the gap.
run() {
    local name=$1 limit=$2
    shift 2
    echo "running $name..." >&2
    timeout --kill-after=10 "$limit" "$@" >"$out/$name.out" 2>"$out/$name.log"
    local status=$?
    grep $'^ROW\t' "$out/$name.out" | cut -f2- >>"$rows"
    if [[ $status -ne 0 ]]; then
        printf '%s\t%s\t%s\t-\t-\t-\terror\n' "$name" "exit status $status" "see $out/$name.log" >>"$rows"
    fi
}

for format in ascii hex dec; do
    run "pane-$format" 150 "$bench_dir/bench_pane" "$format"
done
# ASCII again in a window wide enough that no line wraps.
run pane-ascii-wide 150 "$bench_dir/bench_pane" ascii --wide
for format in ascii hex dec; do
    run "flood-$format" 150 "$bench_dir/bench_flood" "$format"
    run "flood-$format-no-log" 150 "$bench_dir/bench_flood" "$format" --no-log
done
# What the session log costs: the panel thread's CPU time in each flood with
# the log on, against the same flood with it off.
awk -F'\t' '$1 == "flood, panel thread CPU" {
        split($2, c, ", "); ms = $3 + 0
        if ($2 ~ /log on$/) on[c[1]] = ms; else off[c[1]] = ms
    }
    END {
        for (f in on) if (off[f] > 0)
            printf "flood, CPU with log / without\t%s, 1 MB/s\t%.2fx\t-\t1\t<= 1.10x\t%s\n",
                f, on[f] / off[f], on[f] / off[f] <= 1.10 ? "pass" : "miss"
    }' "$rows" >>"$rows.cpu"
cat "$rows.cpu" >>"$rows"
rm -f "$rows.cpu"
run wire 180 "$bench_dir/bench_wire"
run send 120 "$bench_dir/bench_send"

# A display of our own for the start-up under X, on the first free number;
# -noreset, or the server resets whenever its last client leaves and the next
# start sometimes cannot connect or pays for the reset.
xvfb_pid=
display_file="$out/xvfb-display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" 2>"$out/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$display_file" ]] && break
    sleep 0.1
done
if [[ -s "$display_file" ]]; then
    DISPLAY=":$(cat "$display_file")" run startup 240 "$bench_dir/bench_startup"
else
    echo "note: Xvfb did not start; start-up measured offscreen only" >&2
    env -u DISPLAY run startup 240 "$bench_dir/bench_startup"
fi
if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
fi

elapsed=$((SECONDS - started))
header=$'metric\tcondition\tmedian / value\ttail\tn\ttarget\tresult'
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
qt=$(pkg-config --modversion Qt5Core 2>/dev/null || echo unknown)
machine="$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores ($cpu), Qt $qt, load average $(cut -d' ' -f1-3 /proc/loadavg)"

# The table for the terminal, columns padded to their widest cell.
{
    echo "$header"
    cat "$rows"
} | awk -F'\t' '
    { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } n = NR; if (NF > cols) cols = NF }
    END {
        for (r = 1; r <= n; r++) {
            line = ""
            for (i = 1; i <= cols; i++) line = line sprintf("%-" width[i] "s  ", cell[r, i])
            sub(/ +$/, "", line)
            print line
            if (r == 1) { rule = ""; for (i = 1; i <= cols; i++) rule = rule sprintf("%-" width[i] "s  ", ""); gsub(/ /, "-", rule); print rule }
        }
    }'
echo
echo "$machine; benchmarks took ${elapsed} s"

# The same table in Markdown, for bench/README.md.
{
    echo "Measured $machine; the benchmarks took ${elapsed} s."
    echo
    echo "| ${header//$'\t'/ | } |"
    echo "|---|---|---|---|---|---|---|"
    sed 's/\t/ | /g; s/^/| /; s/$/ |/' "$rows"
} >"$out/results.md"
echo "Markdown table: $out/results.md; logs: $out/"
