#!/bin/sh
# A picture of the statistics window on the demo's recording (a day of three channels with a
# few sensor errors; the second section over its first twelve hours), kept as a build
# artifact: statistics_picture.sh SOURCE_DIR BIN_DIR OUT.png
set -eu
src=$1 bin=$2 png=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY "$src/scripts/demo-run" "$bin" "$out" >"$out/demo.log" 2>&1 || {
  cat "$out/demo.log"; echo "FAIL: the demo did not run"; exit 1; }
mkdir -p "$(dirname "$png")"
"$bin/tavix-cli" stats "$out/demo.txt" --from 1 --to 720 --picture "$png"
test "$(head -c 4 "$png" | tail -c 3)" = "PNG" || { echo "FAIL: no PNG picture"; exit 1; }
echo "statistics picture: $png"
