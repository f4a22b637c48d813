#!/bin/sh
# Downloads eight recordings from the demo's simulated logger with tavix-cli, then keeps a
# picture of the group-files window showing them all: group_screenshot.sh BIN_DIR TEST_DIR OUT.png
set -eu
bin=$1 tests=$2 out=$3
sim=
work=$(mktemp -d)
# Whatever ends the script, the simulator goes with it.
trap 'if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/wait_for.sh"

# The file commands make their data folder in the documents folder: one of the test's own.
HOME=$work
: "${USER:=demo}"
export HOME USER
cp "$bin/localORM.ini" "$bin/English.ini" "$bin/Ormel logo.bmp" "$work/"
files=
n=0
# model, records, interval: the demo's logger first, then loggers of the other channel sets
# at other paces, all following the simulator's day with a few sensor errors
for recording in "4143 1440 60" "4143 1200 90" "4124 1000 120" "4141 1440 45" \
                 "4133 800 150" "41660 1440 30" "4153 600 240" "4182 1440 75"; do
    n=$((n + 1))
    # shellcheck disable=SC2086  # the three words of a recording
    set -- $recording
    "$bin/tavix-sim" --model "$1" --records "$2" --interval "$3" --errors --daily \
        >"$work/sim$n.out" 2>"$work/sim$n.log" &
    sim=$!
    wait_for "$work/sim$n.out" /
    "$bin/tavix-cli" --archive "$work/TavixArchive.db" --device "$(head -n 1 "$work/sim$n.out")" download "$work/recording$n.txt" >/dev/null
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    sim=
    files="$files $work/recording$n.txt"
done

# the program's folder with a port bound to no logger: the window needs none
"$tests/tavix-shot" prepare "$work" 2 "$work/no-logger"
mkdir -p "$(dirname "$out")"
# shellcheck disable=SC2086  # one argument per file (the folder has no blanks)
"$tests/tavix-shot" group "$work" "$out" $files
test -s "$out"
echo "group screenshot: $out"
