#!/bin/sh
# collect_bench: eight simulated loggers paced at 9600 baud with 1,440 records each (a day at one
# minute), collected in one run of tavix-cli collect, against one of them collected alone. The
# downloads run side by side, so the eight should take hardly longer than the one.
#
#   bench/collect_bench.sh [BIN_DIR]      (default: build/bin)
set -eu
bin=$(cd "${1:-build/bin}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tavix-collect-bench-XXXXXX")
sims=""
trap 'for p in $sims; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT INT TERM
cp "$bin/localORM.ini" "$work/"

# start N loggers; their devices in $work/devices-N
start() {
    : > "$work/devices-$1"
    k=1
    while [ "$k" -le "$1" ]; do
        out="$work/sim-$1-$k.out"
        "$bin/tavix-sim" --model 4143 --id "BENCH-$k" --records 1440 --interval 60 --daily --baud 9600 \
            --start "2026-01-01 00:00:00" > "$out" 2>/dev/null &
        sims="$sims $!"
        while [ ! -s "$out" ]; do sleep 0.05; done
        head -n 1 "$out" >> "$work/devices-$1"
        k=$((k + 1))
    done
}

# collect the loggers of devices-N; prints the seconds it took
run() {
    set --  "$1"
    args=""
    for d in $(cat "$work/devices-$1"); do args="$args --device $d"; done
    mkdir -p "$work/out-$1"
    t0=$(date +%s.%N)
    # shellcheck disable=SC2086
    "$bin/tavix-cli" collect --app-dir "$work" --out-dir "$work/out-$1" $args > "$work/table-$1" 2> "$work/err-$1" ||
        { echo "collect of $1 failed:"; cat "$work/table-$1" "$work/err-$1"; exit 1; }
    t1=$(date +%s.%N)
    echo "$t0 $t1" | awk '{ printf "%.1f", $2 - $1 }'
}

start 1
one=$(run 1)
start 8
eight=$(run 8)
cat "$work/table-8"
echo "one logger alone: $one s; eight at once: $eight s; ratio $(echo "$eight $one" | awk '{ printf "%.2f", $1 / $2 }') (goal: at most 1.20)"
