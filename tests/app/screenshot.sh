#!/bin/sh
# Starts the real tavix under a virtual X display on a simulated logger and keeps a
# picture of what it shows: screenshot.sh BIN_DIR TEST_DIR OUT.png
set -eu
bin=$1 tests=$2 out=$3
work=$(mktemp -d)
trap 'kill $sim $app 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$bin/localORM.ini" "$bin/English.ini" "$bin/Ormel logo.bmp" "$work/"
"$bin/tavix-sim" --model 4143 --records 1440 --interval 60 --errors --daily >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$work/sim.out")
"$tests/tavix-shot" prepare "$work" 2 "$device"
"$bin/tavix" --app-dir "$work" &
app=$!
sleep 4
kill -0 $app   # still running: the main window is up
mkdir -p "$(dirname "$out")"
"$tests/tavix-shot" grab "$out"
test -s "$out"
echo "screenshot: $out"
