#!/usr/bin/env bash
# CI check of the Debian package: builds it, unpacks it into a scratch root (as dpkg would
# install it, without touching the machine) and checks what a user gets: the files in their
# places, the dependencies found from the linked libraries, the menu entry, the software-centre
# description and the file type valid, every library of the programs found, and the batch tool
# working from its installed path on the installed demo radargram.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
started=$(date +%s)
"$root/scripts/package.sh"
deb="$(ls -t "$root"/build/trelvanox_*.deb | head -n 1)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"
usr="$scratch/root/usr"
id=org.trelvanox.Trelvanox
fail() { echo "package check: $*" >&2; exit 1; }

echo "== files"
for file in bin/trelvanox bin/trelvanox-cli share/trelvanox/manual/index.html \
    share/trelvanox/samples/demo.GPR2 share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/doc/trelvanox/copyright \
    share/doc/trelvanox/THIRD-PARTY-NOTICES.txt; do
    [ -f "$usr/$file" ] || fail "missing /usr/$file"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file -b "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is no ${size} px PNG"
done

echo "== dependencies"
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
for library in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 libstdc++6; do
    grep -q "$library" <<<"$depends" || fail "the dependencies lack $library"
done
for program in "$usr/bin/trelvanox" "$usr/bin/trelvanox-cli"; do
    if ldd "$program" | grep -q "not found"; then
        ldd "$program" >&2
        fail "$program needs a library that is not found"
    fi
done

echo "== desktop entry, description, file type"
desktop-file-validate "$usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
# The file type as the desktop sees it once shared-mime-info has indexed the package's file.
cp -r "$usr/share/mime" "$scratch/mime"
update-mime-database "$scratch/mime" 2>/dev/null  # (it notes that the folder is not a system one)
for pattern in '*.gpr' '*.gpr2'; do
    grep -qiF "application/x-gpr-radargram:$pattern" "$scratch/mime/globs" ||
        fail "the file type does not claim $pattern"
done
grep -q "x-gpr-radargram" "$usr/share/applications/$id.desktop" ||
    fail "the menu entry does not open radargram files"

echo "== batch tool from its installed path"
"$usr/bin/trelvanox-cli" --help >"$scratch/help.txt"
grep -q "info" "$scratch/help.txt" || fail "trelvanox-cli --help names no info command"
# The package's demo is read-only for users; a copy of it is what a user would open.
cp "$usr/share/trelvanox/samples/demo.GPR2" "$scratch/demo.GPR2"
XDG_STATE_HOME="$scratch/state" "$usr/bin/trelvanox-cli" info "$scratch/demo.GPR2" >"$scratch/info.json"
grep -Eq '"TraceCount": ?[1-9]' "$scratch/info.json" || fail "trelvanox-cli info printed no header"
echo "package check passed in $(( $(date +%s) - started )) s: $(basename "$deb")"
