#!/usr/bin/env bash
# Packs the Windows build (scripts/build-windows.sh) into
#   BUILD/package/Trelvanox-<version>-win64-setup.exe   the installer (NSIS, Russian)
#   BUILD/package/Trelvanox-<version>-win64.zip         the portable folder
# from one staged folder, BUILD/stage/Trelvanox. The staging fails when anything the program
# loads at run time is missing from it.
#
#   package-windows.sh [BUILD]     BUILD defaults to build-windows
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build-windows}")"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || { echo "no configured Windows build in $build" >&2; exit 1; }
stage="$build/stage/Trelvanox"
out="$build/package"
fail() { echo "packaging: $*" >&2; exit 1; }

rm -rf "$build/stage" && mkdir -p "$stage/samples" "$out"
x86_64-w64-mingw32-strip -o "$stage/trelvanox.exe" "$build/trelvanox.exe"
x86_64-w64-mingw32-strip -o "$stage/trelvanox-cli.exe" "$build/src/cli/trelvanox-cli.exe"
cp "$root/packaging/windows/trelvanox.ico" "$stage/"
# Windows' own editors expect CR LF.
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
sed 's/$/\r/' "$root/THIRD-PARTY-NOTICES.txt" >"$stage/THIRD-PARTY-NOTICES.txt"
cp -r "$root/docs/manual" "$stage/manual"
cp "$root/samples/demo.GPR2" "$stage/samples/"

# What the program loads at run time: the manual beside it, with every picture and page its
# pages link, and what is built into the executable (Qt's Russian texts, the icons, the
# notices), which the strings of the file show.
[ -f "$stage/manual/index.html" ] || fail "the manual's index.html is missing"
missing=0
while IFS= read -r link; do
    [ -e "$stage/manual/$link" ] || { echo "packaging: the manual links a missing $link" >&2; missing=1; }
done < <(grep -ohE '(src|href)="[^"#:]+' "$stage"/manual/*.html | sed 's/^[a-z]*="//' | sort -u)
[ "$missing" = 0 ] || exit 1
# Qt keeps the names of built-in files as UTF-16.
for resource in qtbase_ru.qm THIRD-PARTY-NOTICES.txt; do
    LC_ALL=C grep -qaP "$(printf '%s' "$resource" | sed 's/./&\\x00/g; s/\\x00$//')" \
        "$stage/trelvanox.exe" || fail "$resource is not built into trelvanox.exe"
done
for file in trelvanox.exe trelvanox-cli.exe trelvanox.ico LICENSE.txt THIRD-PARTY-NOTICES.txt \
            samples/demo.GPR2; do
    [ -s "$stage/$file" ] || fail "$file is missing from the stage"
done

setup="$out/Trelvanox-$version-win64-setup.exe"
zip="$out/Trelvanox-$version-win64.zip"
rm -f "$setup" "$zip"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    "$root/packaging/windows/installer.nsi"
# The portable folder unpacks as Trelvanox\; the program keeps its settings beside itself there.
(cd "$build/stage" && zip -qr -X "$zip" Trelvanox)
ls -l "$setup" "$zip"
