#!/bin/sh
# Pictures of the real program's windows with the records of a simulated logger downloaded,
# taken on an X display (see with-xvfb), in the language of LANGUAGE_FILE:
#   sim_screenshot.sh BIN_DIR TEST_DIR LANGUAGE_FILE download OUT.png   the main window filling the screen
#   sim_screenshot.sh BIN_DIR TEST_DIR LANGUAGE_FILE windows OUT_DIR    the main window (also at its
#                                                                       smallest), both settings windows,
#                                                                       the data table and the question
#                                                                       at Exit
set -eu
bin=$1 tests=$2 language=$3 mode=$4 out=$5
sim=
work=$(mktemp -d)
# Whatever ends the script, the simulator goes with it.
trap 'if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/wait_for.sh"

cp "$bin/English.ini" "$bin/German.ini" "$bin/Ormel logo.bmp" "$work/"
sed "s/^Language File = .*/Language File = $language/" "$bin/localORM.ini" >"$work/localORM.ini"
"$bin/tavix-sim" --model 4143 --records 1440 --interval 60 --errors --daily >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
wait_for "$work/sim.out" /
"$tests/tavix-shot" prepare "$work" 2 "$(head -n 1 "$work/sim.out")"
case $mode in
    download) mkdir -p "$(dirname "$out")" ;;
    *) mkdir -p "$out" ;;
esac
"$tests/tavix-shot" "$mode" "$work" "$out"
echo "sim screenshot: $out"
