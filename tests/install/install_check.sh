#!/bin/sh
# The installation: install_check.sh BUILD_DIR VERSION
# cmake --install into a temporary prefix puts every file where the desktop looks for it, and
# the desktop entry and the AppStream metainfo pass their own validators.
set -eu
build=$1 version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log" >&2; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"
for f in bin/tavix bin/tavix-cli bin/tavix-sim \
    share/tavix/localORM.ini share/tavix/English.ini share/tavix/German.ini "share/tavix/Ormel logo.bmp" \
    share/tavix/TavixProfiles.ini share/tavix/1QZRT7205918C_TavixDesk.pdf \
    share/applications/io.github.tavix.Tavix.desktop share/metainfo/io.github.tavix.Tavix.metainfo.xml \
    share/icons/hicolor/16x16/apps/tavix.png share/icons/hicolor/48x48/apps/tavix.png \
    share/icons/hicolor/256x256/apps/tavix.png; do
    test -s "$prefix/$f" || { echo "install_check: $f is not installed" >&2; exit 1; }
done
test -x "$prefix/bin/tavix" -a -x "$prefix/bin/tavix-cli" -a -x "$prefix/bin/tavix-sim"
# an icon is the size its folder says
size=$(file "$prefix/share/icons/hicolor/48x48/apps/tavix.png")
case $size in *"48 x 48"*) ;; *) echo "install_check: $size" >&2; exit 1 ;; esac

desktop-file-validate "$prefix/share/applications/io.github.tavix.Tavix.desktop"
grep -q '^Name\[de\]=' "$prefix/share/applications/io.github.tavix.Tavix.desktop"
grep -q '^Comment\[de\]=' "$prefix/share/applications/io.github.tavix.Tavix.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.tavix.Tavix.metainfo.xml"
# the installed programs say their version
test "$("$prefix/bin/tavix-cli" --version)" = "tavix-cli $version"
test "$("$prefix/bin/tavix" --version)" = "tavix $version"
echo "install_check: installed and valid in $prefix"
