#!/bin/sh
# Starts the real tavix on an X display (see with-xvfb) on a simulated logger and keeps a
# picture of what it shows, and one of its logger-settings window (logger-settings.png beside
# OUT.png): screenshot.sh BIN_DIR TEST_DIR OUT.png
set -eu
bin=$1 tests=$2 out=$3
sim= app=
work=$(mktemp -d)
# Whatever ends the script, the simulator and the program go with it (the variables are set
# before the trap can run, so an early failure shows its own error).
trap 'for p in $sim $app; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/wait_for.sh"

cp "$bin/localORM.ini" "$bin/English.ini" "$bin/Ormel logo.bmp" "$work/"
"$bin/tavix-sim" --model 4143 --records 1440 --interval 60 --errors --daily >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
wait_for "$work/sim.out" /
device=$(head -n 1 "$work/sim.out")
"$tests/tavix-shot" prepare "$work" 2 "$device"
"$bin/tavix" --app-dir "$work" &
app=$!
# The main window's timer runs once the window is up: it asks the logger who it is, then its
# memory and status. The answer to the status query is the last thing the window shows.
wait_for "$work/sim.log" 'received "t"'
kill -0 $app   # still running
mkdir -p "$(dirname "$out")"
"$tests/tavix-shot" grab "$out"
test -s "$out"
echo "screenshot: $out"
# The logger-settings window of the same three-channel logger, beside it.
kill $app
wait $app 2>/dev/null || true
app=
settings="$(dirname "$out")/logger-settings.png"
"$tests/tavix-shot" settings "$work" "$settings"
test -s "$settings"
echo "screenshot: $settings"
