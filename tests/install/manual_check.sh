#!/bin/sh
# The help document built from the manual: manual_check.sh MANUAL.md HELP.pdf
# Every chapter title of the manual is text in the PDF, and every picture the manual names is
# an image in it.
set -eu
manual=$1 pdf=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

test -s "$pdf" || { echo "manual_check: no $pdf" >&2; exit 1; }
# One line per paragraph as laid out; line breaks inside a title are joined.
pdftotext -nopgbrk "$pdf" "$work/text"
tr '\n' ' ' <"$work/text" | tr -s ' ' >"$work/flat"
chapters=0
grep '^#' "$manual" | sed 's/^#* *//' >"$work/titles"
while IFS= read -r title; do
    grep -qF "$title" "$work/flat" || { echo "manual_check: chapter \"$title\" is not in $pdf" >&2; exit 1; }
    chapters=$((chapters + 1))
done <"$work/titles"
[ $chapters -ge 13 ] || { echo "manual_check: only $chapters titles in $manual" >&2; exit 1; }

pictures=$(grep -c '!\[[^]]*\](pictures/[^)]*\.png)' "$manual")
images=$(pdfimages -list "$pdf" | tail -n +3 | grep -c ' image ')
[ "$pictures" -ge 8 ] || { echo "manual_check: the manual names only $pictures pictures" >&2; exit 1; }
[ "$images" -eq "$pictures" ] || { echo "manual_check: $pictures pictures named, $images images in $pdf" >&2; exit 1; }
echo "manual_check: $chapters titles and $images pictures in $pdf"
