#!/usr/bin/env bash
# Builds the Windows programs on this Debian machine and packs them: trelvanox.exe (the desktop
# program) and trelvanox-cli.exe (the batch tool), static, cross-built with Debian's mingw-w64
# compiler into build-windows/, then the installer and the portable zip in
# build-windows/package/.
#
#   build-windows.sh [--no-package] [TARGET...]
#
# Qt for Windows (static) comes, in this order, from TRELVANOX_QT_WIN (an unpacked prefix or a
# .tar.xz of one), from the packed build in ../shared/toolchains/ beside the repository (or
# beside a folder above it), or is
# built by scripts/build-qt-windows.sh (about an hour). The other libraries are cross-built from
# Debian's source packages by scripts/build-windows-deps.sh.
#
#   TRELVANOX_WINDOWS_BUILD  build folder (default build-windows)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TRELVANOX_WINDOWS_BUILD:-$root/build-windows}"
package=yes
if [ "${1:-}" = "--no-package" ]; then package=no; shift; fi
targets=(trelvanox trelvanox-cli "$@")
started=$(date +%s)

"$root/scripts/setup.sh" --windows
mkdir -p "$build"

# An unpacked Qt prefix for a .tar.xz, reused while the archive is the same.
unpacked_qt() {
    local archive="$1" into="$build/qt"
    local stamp
    stamp="$(stat -c '%s %Y' "$archive") $archive"
    if [ ! -f "$into/STAMP" ] || [ "$(cat "$into/STAMP")" != "$stamp" ]; then
        echo "unpacking $archive" >&2
        rm -rf "$into" && mkdir -p "$into"
        tar -C "$into" -xJf "$archive"
        echo "$stamp" >"$into/STAMP"
    fi
    echo "$into/qt6-mingw"
}
find_qt() {
    if [ -n "${TRELVANOX_QT_WIN:-}" ]; then
        if [ -d "$TRELVANOX_QT_WIN" ]; then echo "$(realpath "$TRELVANOX_QT_WIN")"; return; fi
        [ -f "$TRELVANOX_QT_WIN" ] || { echo "TRELVANOX_QT_WIN: no such prefix or archive: $TRELVANOX_QT_WIN" >&2; exit 1; }
        unpacked_qt "$(realpath "$TRELVANOX_QT_WIN")"
        return
    fi
    # The workplace's shared toolchains sit beside the checkout, or beside a folder above it when
    # the checkout is a worktree or a CI clone nested deeper; an unpacked prefix serves as well.
    local dir="$root" packed
    while [ "$dir" != "/" ]; do
        dir="$(dirname "$dir")"
        if [ -x "$dir/shared/toolchains/qt6-mingw/bin/qt-cmake" ]; then
            echo "$dir/shared/toolchains/qt6-mingw"
            return
        fi
        packed="$(ls "$dir"/shared/toolchains/qt6-mingw-static-*.tar.xz 2>/dev/null | sort -V | tail -1)"
        if [ -n "$packed" ]; then unpacked_qt "$(realpath "$packed")"; return; fi
    done
    echo "no Qt for Windows given or packed beside the repository: building it (about an hour)" >&2
    "$root/scripts/build-qt-windows.sh" "$build/qt-build" >&2
    unpacked_qt "$(ls "$build"/qt-build/qt6-mingw-static-*.tar.xz | tail -1)"
}
qt="$(find_qt)"
[ -x "$qt/bin/qt-cmake" ] || { echo "not a Qt prefix (no bin/qt-cmake): $qt" >&2; exit 1; }

# The cross-built Qt runs the host's moc, rcc and uic, which must be of the same version.
qt_version="$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' "$qt/lib/cmake/Qt6/Qt6ConfigVersionImpl.cmake" "$qt/lib/cmake/Qt6/Qt6ConfigVersion.cmake" 2>/dev/null | head -1)"
host_version="$(/usr/lib/qt6/libexec/moc -v | awk '{print $2}')"
if [ "$qt_version" != "$host_version" ]; then
    echo "Qt for Windows is $qt_version but the host's moc, rcc and uic are $host_version:" \
        "they must be the same version (rebuild it with scripts/build-qt-windows.sh)" >&2
    exit 1
fi
echo "Qt $qt_version for Windows from $qt (host tools $host_version)"

deps="$build/deps"
"$root/scripts/build-windows-deps.sh" "$deps"

launcher=()
command -v ccache >/dev/null &&
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# -O1: the cross build runs once per CI run, and its compile time outweighs what -O2 would
# save. A folder configured otherwise (the earlier core-only build, or another Qt) starts afresh.
if [ ! -f "$build/build.ninja" ] ||
    ! grep -qx "TRELVANOX_QT_PREFIX:INTERNAL=$qt" "$build/CMakeCache.txt" 2>/dev/null; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
    "$qt/bin/qt-cmake" -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DTRELVANOX_WINDOWS_DEPS="$deps" \
        "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" -DTRELVANOX_BUILD_BENCH=OFF \
        -DTRELVANOX_GTEST_SOURCE=/usr/src/googletest -DTRELVANOX_QT_PREFIX:INTERNAL="$qt" \
        "${launcher[@]}" >"$build/configure.log" 2>&1 ||
        { tail -40 "$build/configure.log"; rm -f "$build/build.ninja"; exit 1; }
fi
cmake --build "$build" --parallel 2 --target "${targets[@]}"
echo "Windows build took $(( $(date +%s) - started )) s"

# Only Windows' own DLLs may be imported: anything else would be missing on a user's machine.
for exe in "$build/trelvanox.exe" "$build/src/cli/trelvanox-cli.exe"; do
    imports="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)"
    foreign="$(grep -viE '^(advapi32|comdlg32|dwmapi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|winspool\.drv|ws2_32|mpr|authz|d3d9|d3d11|d3d12|dxgi|dwrite|setupapi|crypt32|bcrypt|ntdll|comctl32|wtsapi32|secur32|shcore|api-ms-win-[a-z0-9-]+)(\.dll)?$' <<<"$imports" || true)"
    if [ -n "$foreign" ]; then
        echo "$(basename "$exe") imports DLLs that are not Windows' own:" $foreign >&2
        exit 1
    fi
done

[ "$package" = yes ] && "$root/scripts/package-windows.sh" "$build"
echo "Windows build and packages done in $(( $(date +%s) - started )) s"
