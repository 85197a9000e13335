#!/usr/bin/env bash
# The core and the batch tool on Windows: cross-builds them and the core tests with Debian's
# mingw-w64 compiler into build-windows/ (static programs, no DLLs), then runs under Wine every
# core test program and a round trip of the batch tool on a radargram with a Cyrillic name: info,
# header edit, gain, undo, label export. When the Linux batch tool is built (build/), the same
# round trip runs there too and both must leave the same bytes.
#
#   TRELVANOX_WINDOWS_BUILD  build folder (default build-windows)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TRELVANOX_WINDOWS_BUILD:-$root/build-windows}"
started=$(date +%s)

"$root/scripts/setup.sh" --windows

# -O1: the cross build runs once per CI run, and its compile time outweighs what -O2 would save
# in the tests.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" -DTRELVANOX_CORE_ONLY=ON \
    -DTRELVANOX_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build "$build" --target trelvanox-cli tests/core/all
built=$(date +%s)
echo "cross build took $((built - started)) s"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
# A prefix of its own inside the build folder; Wine's messages off; no question about the .NET
# and HTML engines a first start would offer to install. Arguments and file names reach the
# programs as UTF-8, whatever the locale of the calling shell.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
"$wine" wineboot --init >/dev/null 2>&1 || true
windows_path() { echo "Z:${1//\//\\}"; }

scratch="$(mktemp -d "$build/run.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

echo "== core tests under Wine"
for test in "$build"/tests/core/test_*.exe; do
    echo "-- $(basename "$test")"
    mkdir -p "$scratch/tmp"
    TRELVANOX_TEST_TMP="$(windows_path "$scratch/tmp")" "$wine" "$test" --gtest_brief=1
done

echo "== batch-tool round trip under Wine"
fail() { echo "round trip: $*" >&2; exit 1; }
# Runs the batch tool of the first argument (a command) on the files of the second (a folder).
round_trip() {
    local cli="$1" folder="$2" to_path="$3"
    local radargram="$folder/Профиль №1.GPR2" labels="$folder/Метки профиля.txt"
    mkdir -p "$folder"
    cp "$root/samples/demo.GPR2" "$radargram"
    $cli info "$($to_path "$radargram")" >"$folder/info.json"
    $cli header "$($to_path "$radargram")" --operator "Иванов И. И." --object "Участок Северный"
    cp "$radargram" "$folder/before-gain.GPR2"
    $cli gain "$($to_path "$radargram")" --factor 2 --above 100
    cp "$radargram" "$folder/after-gain.GPR2"
    $cli undo "$($to_path "$radargram")"
    cmp -s "$radargram" "$folder/before-gain.GPR2" || fail "$cli: undo did not restore the file"
    $cli redo "$($to_path "$radargram")"
    $cli export-labels "$($to_path "$radargram")" "$($to_path "$labels")"
    $cli info "$($to_path "$radargram")" >"$folder/info-after.json"
}
as_is() { echo "$1"; }
windows_cli() { "$wine" "$build/src/cli/trelvanox-cli.exe" "$@"; }
round_trip windows_cli "$scratch/windows" windows_path
grep -q '"file": *"Z:.*Профиль №1.GPR2"' "$scratch/windows/info.json" ||
    fail "info does not name the Cyrillic file: $(head -c 300 "$scratch/windows/info.json")"
grep -q 'Иванов И. И.' "$scratch/windows/info-after.json" || fail "the header edit did not stay"
cmp -s "$scratch/windows/after-gain.GPR2" "$scratch/windows/before-gain.GPR2" &&
    fail "the gain changed nothing"
cmp -s "$scratch/windows/Профиль №1.GPR2" "$scratch/windows/after-gain.GPR2" ||
    fail "redo did not bring the gain back"
[ -s "$scratch/windows/Метки профиля.txt" ] || fail "no label table was exported"

linux_cli="$root/build/src/cli/trelvanox-cli"
if [ -x "$linux_cli" ]; then
    echo "== the same round trip on Linux, compared byte for byte"
    XDG_STATE_HOME="$scratch/state" round_trip "$linux_cli" "$scratch/linux" as_is
    for file in "Профиль №1.GPR2" "after-gain.GPR2" "Метки профиля.txt"; do
        cmp "$scratch/windows/$file" "$scratch/linux/$file" || fail "$file differs between the systems"
    done
else
    echo "note: build/src/cli/trelvanox-cli is not built; the comparison with Linux is skipped"
fi
echo "Windows build and tests passed in $(( $(date +%s) - started )) s (build $((built - started)) s)"
