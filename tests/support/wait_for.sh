# Sourced by the picture scripts of the tests:
# wait_for FILE TEXT: until FILE holds TEXT, with a generous ceiling of 60 s; on giving up, says
# what it waited for, shows FILE and ends the script.
wait_for() {
    i=0
    until grep -q "$2" "$1" 2>/dev/null; do
        [ $i -lt 600 ] || { echo "$(basename "$0"): no \"$2\" in $1" >&2; cat "$1" >&2 || true; exit 1; }
        sleep 0.1
        i=$((i + 1))
    done
}
