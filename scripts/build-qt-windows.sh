#!/usr/bin/env bash
# Builds Qt 6 (qtbase: Core, Gui, Widgets, PrintSupport, Concurrent, Test, Xml; the Windows and
# offscreen platforms, the native style) as static libraries for 64-bit Windows with Debian's
# mingw-w64 compiler, from Debian's qt6-base source package of the version installed on this
# machine, and packs it as WORKDIR/qt6-mingw-static-<version>.tar.xz, a qt6-mingw/ prefix with a
# PROVENANCE file (source package, sha256 of its files, compiler, configure options) and the
# toolchain file it was built with.
#
#   build-qt-windows.sh [WORKDIR]     WORKDIR defaults to build-windows/qt-build
#
# About an hour on two cores. The cross-built Qt runs the host's moc, rcc and uic (Debian's
# qt6-base-dev), which must be of the same version: that is why the source is the host's.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(realpath -m "${1:-$root/build-windows/qt-build}")"
prefix="$work/qt6-mingw"

"$root/scripts/setup.sh" --windows
version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
host_tools="$(/usr/lib/qt6/libexec/moc -v | awk '{print $2}')"
if [ "${version%%+*}" != "$host_tools" ] && [ "${version%%-*}" != "$host_tools" ]; then
    echo "qt6-base-dev is $version but the host's moc is $host_tools; they must agree" >&2
    exit 1
fi
echo "building Qt $version for Windows in $work"
mkdir -p "$work"

# The source package from the same archive as the binary ones, without touching the system's
# lists.
apt_src="$work/apt"
mkdir -p "$apt_src/lists/partial"
sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$apt_src/src.sources"
apt_opts=(-o "Dir::Etc::SourceList=$apt_src/src.sources" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$apt_src/lists")
apt-get "${apt_opts[@]}" update -qq
cd "$work"
rm -f qt6-base_*
apt-get "${apt_opts[@]}" source --download-only -qq "qt6-base=$version"
orig="$(ls qt6-base_*.orig.tar.xz | head -1)"
rm -rf src && mkdir src && tar -xf "$orig" -C src --strip-components=1

toolchain="$work/mingw-w64-x86_64.cmake"
cat >"$toolchain" <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

flags=(
    -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_concurrent=ON -DFEATURE_printsupport=ON
    # Debian's source leaves out the tablet driver's header (wintab.h).
    -DFEATURE_tabletevent=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF
)
rm -rf build && cmake -S src -B build "${flags[@]}" >configure.log 2>&1 ||
    { tail -40 configure.log; exit 1; }
started=$(date +%s)
cmake --build build --parallel "$(nproc)" >build.log 2>&1 || { tail -60 build.log; exit 1; }
echo "Qt build took $(( $(date +%s) - started )) s"
rm -rf "$prefix" && cmake --install build >install.log 2>&1

{
    echo "Qt $version (Debian source package qt6-base), static, for x86_64-w64-mingw32"
    echo "compiler: $(x86_64-w64-mingw32-g++-posix --version | head -1)"
    echo "host tools: Debian qt6-base-dev $version"
    echo "source files (sha256):"
    sha256sum qt6-base_* | sed 's/^/  /'
    echo "cmake flags (scripts/build-qt-windows.sh):"
    printf '  %s\n' "${flags[@]}" | sed "s|$work|<work>|g"
    echo "use: unpack anywhere, then configure a project with"
    echo "  <prefix>/bin/qt-cmake -DQT_CHAINLOAD_TOOLCHAIN_FILE=<prefix>/mingw-w64-x86_64.cmake -S . -B build"
    echo "  (the compilers come from Debian's g++-mingw-w64-x86-64-posix; moc, rcc and uic from"
    echo "  Debian's qt6-base-dev of the same version under /usr); link programs with -static"
} >"$prefix/PROVENANCE"
# The toolchain travels with the prefix, so that the packed build works wherever it is unpacked.
cp "$toolchain" "$prefix/mingw-w64-x86_64.cmake"

upstream="${version%%+*}"
upstream="${upstream#*:}"
tar -C "$work" -cJf "$work/qt6-mingw-static-$upstream.tar.xz" qt6-mingw
ls -l "$work/qt6-mingw-static-$upstream.tar.xz"
