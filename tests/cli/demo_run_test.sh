#!/bin/sh
# The headless demo with the built programs: demo_run_test.sh SOURCE_DIR BIN_DIR
set -eu
src=$1 bin=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
log=$(env -u DISPLAY -u WAYLAND_DISPLAY "$src/scripts/demo-run" "$bin" "$out" 2>&1) || {
  echo "$log"; echo "FAIL: demo-run ended with an error"; exit 1; }
echo "$log"
echo "$log" | grep -q "demo: data file: $out/demo.txt" || { echo "FAIL: the data file is not named"; exit 1; }
echo "$log" | grep -q "demo: chart picture: $out/demo-chart.png" || { echo "FAIL: the picture is not named"; exit 1; }
echo "$log" | grep -q "Model:         4143 (index 10)" || { echo "FAIL: the logger was not identified"; exit 1; }
# six header lines and a day of records, a few of them sensor errors
test "$(wc -l <"$out/demo.txt")" -eq 1446 || { echo "FAIL: not 1440 records"; exit 1; }
grep -q " E0[0-9] " "$out/demo.txt" || { echo "FAIL: no sensor error in the data"; exit 1; }
test "$(head -c 4 "$out/demo-chart.png" | tail -c 3)" = "PNG" || { echo "FAIL: no PNG picture"; exit 1; }
# the simulator has been stopped
pid=$(echo "$log" | sed -n 's/^demo: simulated logger on .* (process \([0-9]*\))$/\1/p')
test -n "$pid" || { echo "FAIL: the simulator's process is not named"; exit 1; }
if kill -0 "$pid" 2>/dev/null; then echo "FAIL: the simulator still runs"; exit 1; fi
echo "demo-run works headless"
