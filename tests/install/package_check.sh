#!/bin/sh
# The Debian package: package_check.sh BUILD_DIR VERSION
# cpack -G DEB builds it; dpkg-deb shows its dependencies and files; unpacked into a temporary
# root, its tavix-cli says its version and downloads from its own tavix-sim, and its tavix,
# started as an installed program with a fresh home folder, seeds the per-user program folder.
set -eu
build=$1 version=$2
work=$(mktemp -d)
sim= app=
trap 'for p in $sim $app; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

# wait_for COMMAND...: until it succeeds, with a generous ceiling of 60 s
wait_for() {
    i=0
    until "$@" 2>/dev/null; do
        [ $i -lt 600 ] || { echo "package_check: gave up waiting for: $*" >&2; exit 1; }
        sleep 0.1
        i=$((i + 1))
    done
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work/out"/tavix_"$version"_*.deb)

# the dependencies: from the shared libraries, plus the opener and Qt's translations
dpkg-deb -I "$deb" >"$work/info"
grep -q "^ Version: $version$" "$work/info"
depends=$(grep '^ Depends:' "$work/info")
for p in xdg-utils qt6-translations-l10n libqt6widgets6 libqt6serialport6 libc6; do
    echo "$depends" | grep -q "$p" || { echo "package_check: $p is not in$depends" >&2; exit 1; }
done
dpkg-deb -c "$deb" >"$work/files"
for f in ./usr/bin/tavix ./usr/bin/tavix-cli ./usr/bin/tavix-sim ./usr/share/tavix/localORM.ini \
    ./usr/share/tavix/1QZRT7205918C_TavixDesk.pdf ./usr/share/applications/io.github.tavix.Tavix.desktop \
    ./usr/share/metainfo/io.github.tavix.Tavix.metainfo.xml ./usr/share/icons/hicolor/256x256/apps/tavix.png; do
    grep -qF " $f" "$work/files" || { echo "package_check: $f is not in the package" >&2; exit 1; }
done

# the unpacked programs work
root=$work/root
dpkg-deb -x "$deb" "$root"
test "$("$root/usr/bin/tavix-cli" --version)" = "tavix-cli $version"
"$root/usr/bin/tavix-sim" --records 200 --interval 60 >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
wait_for grep -q / "$work/sim.out"
device=$(head -n 1 "$work/sim.out")
"$root/usr/bin/tavix-cli" --archive "$work/TavixArchive.db" --device "$device" download "$work/data.txt" >"$work/download.log" 2>&1 ||
    { cat "$work/download.log" >&2; exit 1; }
grep -q "200 records saved" "$work/download.log"
test -s "$work/data.txt"
kill $sim
wait $sim 2>/dev/null || true
sim=

# an installed start: the program folder is made in the (fresh) home folder from share/tavix
home=$work/home
mkdir "$home"
HOME=$home XDG_DATA_HOME= XDG_DATA_DIRS=/nonexistent QT_QPA_PLATFORM=offscreen "$root/usr/bin/tavix" \
    >"$work/tavix.log" 2>&1 &
app=$!
folder=$home/.local/share/Tavix
for f in localORM.ini English.ini German.ini TavixProfiles.ini "Ormel logo.bmp" 1QZRT7205918C_TavixDesk.pdf; do
    wait_for test -s "$folder/$f"
    cmp "$root/usr/share/tavix/$f" "$folder/$f"
done
kill -0 $app || { cat "$work/tavix.log" >&2; exit 1; }
echo "package_check: $deb installs and runs"
