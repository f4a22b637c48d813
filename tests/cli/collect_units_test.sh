#!/bin/sh
# The shipped systemd units of the unattended collection pass systemd-analyze verify. The
# service is made from its template with the built tavix-cli in place of the installed one (the
# check wants the command to exist).
#   collect_units_test.sh SOURCE_DIR BIN_DIR
set -eu
src=$1
bin=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tavix-collect-units-XXXXXX")
trap 'rm -rf "$work"' EXIT
sed "s|@TAVIX_COLLECT_CLI@|$bin/tavix-cli|" "$src/packaging/tavix-collect.service.in" > "$work/tavix-collect.service"
cp "$src/packaging/tavix-collect.timer" "$work/"
grep -q "^ExecStart=$bin/tavix-cli collect\$" "$work/tavix-collect.service"
grep -q '^OnCalendar=hourly$' "$work/tavix-collect.timer"
systemd-analyze verify "$work/tavix-collect.service" "$work/tavix-collect.timer"
echo "tavix-collect.service and tavix-collect.timer verified"
