#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks it with lintian (any
# error or warning fails) and checks its dependencies, unpacks it into a scratch folder, starts the unpacked quorvex under Xvfb and
# checks that it stays up and shows its menu window.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/*.deb)
# lintian warns when run as root, as CI does; that line is not about the package.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) \
    || { echo "lintian found errors or warnings in the package"; exit 1; }
echo "lintian: clean"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libgmp10 qt6-qpa-plugins fonts-liberation; do
    grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/quorvex usr/share/applications/org.quorvex.Quorvex.desktop \
         usr/share/metainfo/org.quorvex.Quorvex.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.quorvex.Quorvex.svg \
         usr/share/man/man1/quorvex.1.gz usr/share/doc/quorvex/copyright \
         usr/share/doc/quorvex/changelog.Debian.gz; do
    [ -e "$work/root/$f" ] || { echo "not in the package: $f"; exit 1; }
done

cat >"$work/start.sh" <<'INNER'
set -u
"$1/usr/bin/quorvex" & pid=$!
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Quorvex$' >/dev/null; then
    echo "the menu window did not appear"; kill "$pid" 2>/dev/null; exit 1
fi
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then echo "quorvex did not stay up"; exit 1; fi
kill "$pid"
echo "quorvex started from the package and shows its menu"
INNER
"$(dirname "$0")/../scripts/xvfb.sh" bash "$work/start.sh" "$work/root"
