#!/usr/bin/env bash
# Cross-builds the libraries the Windows programs link besides Qt (zlib, libpng, segyio, KissFFT)
# as static libraries for x86_64-w64-mingw32, from the Debian source packages of the very versions
# the Linux build uses, into one prefix (include/, lib/, lib/cmake/) that the Windows build puts
# on its find path. xxHash, header-only, is copied from the host's libxxhash-dev.
#
#   build-windows-deps.sh PREFIX [WORKDIR]     WORKDIR defaults to PREFIX.work
#
# A prefix that already holds these versions (its VERSIONS file says so) is left as it is.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$(realpath -m "${1:?usage: build-windows-deps.sh PREFIX [WORKDIR]}")"
work="$(realpath -m "${2:-$prefix.work}")"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
host=x86_64-w64-mingw32

# The source package and version of each library the host's development package was built from.
source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1"; }
sources=("$(source_of zlib1g-dev)" "$(source_of libpng-dev)" "$(source_of libkissfft-dev)"
         "$(source_of libsegyio-dev)")
wanted="$(printf '%s\n' "${sources[@]}" "xxhash=$(dpkg-query -W -f='${Version}' libxxhash-dev)")"
if [ -f "$prefix/VERSIONS" ] && [ "$(cat "$prefix/VERSIONS")" = "$wanted" ]; then
    echo "Windows libraries up to date in $prefix"
    exit 0
fi

# Source packages from the same archive as the binary ones, without touching the system's lists.
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$prefix/include" "$prefix/lib"
sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$work/apt/src.sources"
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/src.sources" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$work/apt/lists")
apt-get "${apt_opts[@]}" update -qq
cd "$work"
# Unpacked with Debian's patches applied, as the Linux libraries were built. When the archive no
# longer serves the host's exact revision (a security archive may hold the binaries only), the
# newest revision of the same upstream version stands in, and the build says so.
fetch_source() {
    local package="${1%%=*}" version="${1#*=}" log="$work/source-${1%%=*}.log"
    apt-get "${apt_opts[@]}" source -qq "$package=$version" >"$log" 2>&1 && return 0
    local upstream="${version%-*}" other
    for other in $(apt-cache "${apt_opts[@]}" showsrc "$package" | sed -n 's/^Version: //p' |
                   sort -rV); do
        [ "$other" != "$version" ] && [ "${other%-*}" = "$upstream" ] || continue
        rm -rf "$work/$package"[-_]*
        if apt-get "${apt_opts[@]}" source -qq "$package=$other" >>"$log" 2>&1; then
            echo "note: $package $version is not served as source; built $other instead" >&2
            built_versions+=("$package=$other")
            return 0
        fi
    done
    cat "$log" >&2
    echo "no source of $package $version to build" >&2
    return 1
}
built_versions=()
for source in "${sources[@]:0:3}"; do
    fetch_source "$source" || exit 1
done
tree_of() { find "$work" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1; }

# The install folders are named, as some of these projects set them only on Unix (and would
# otherwise install to the file system's root).
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake_build() {
    local name="$1" src="$2"
    shift 2
    cmake -S "$src" -B "$work/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DTRELVANOX_WINDOWS_DEPS="$prefix" -DBUILD_SHARED_LIBS=OFF "${launcher[@]}" \
        -DCMAKE_INSTALL_BINDIR=bin -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include "$@" \
        >"$work/$name.log" 2>&1 &&
        cmake --build "$work/build-$name" >>"$work/$name.log" 2>&1 &&
        cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 ||
        { tail -40 "$work/$name.log"; echo "building $name for Windows failed" >&2; exit 1; }
}

# zlib: its library sources compiled and archived as the plain libz.a every user looks for (its
# own CMake build would name the static library otherwise, and Debian's tree has no MinGW
# makefile).
zlib="$(tree_of zlib)"
(
    cd "$zlib" && mkdir -p objects-windows &&
        for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
                    inflate inftrees trees uncompr zutil; do
            "$host-gcc-posix" -O2 -c "$file.c" -o "objects-windows/$file.o" || exit 1
        done &&
        "$host-ar" rcs "$prefix/lib/libz.a" objects-windows/*.o
) >"$work/zlib.log" 2>&1 || { tail -40 "$work/zlib.log"; exit 1; }
cp "$zlib/zlib.h" "$zlib/zconf.h" "$prefix/include/"

cmake_build libpng "$(tree_of libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DZLIB_ROOT="$prefix"
# segyio from its source where the archive serves it; else the part of its API the export uses,
# written here against the host's segyio header (the archive in use serves no segyio source).
if fetch_source "${sources[3]}" 2>/dev/null; then
    cmake_build segyio "$(tree_of segyio)" -DBUILD_PYTHON=OFF -DBUILD_TESTING=OFF \
        -DBUILD_BIN=OFF -DBUILD_MEX=OFF -DREQUIRE_ROBUST_CMAKE=OFF
else
    echo "note: no segyio source is served; building the project's own subset of its API" >&2
    cmake_build segyio "$root/cmake/segyio-subset"
    built_versions+=("segyio=subset of the project (cmake/segyio-subset)")
fi
# The float library, as Debian's libkissfft-dev ships it, with its CMake package file, so that
# find_package(kissfft CONFIG) finds the same targets as on Linux.
cmake_build kissfft "$(tree_of kissfft)" -DKISSFFT_STATIC=ON -DKISSFFT_DATATYPE=float \
    -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF -DKISSFFT_PKGCONFIG=OFF -DKISSFFT_OPENMP=OFF

cp /usr/include/xxhash.h "$prefix/include/"
echo "$wanted" >"$prefix/VERSIONS"
# What was built where it is not the host's revision; the notices name these.
printf '%s\n' "${built_versions[@]}" >"$prefix/SUBSTITUTES"
echo "Windows libraries built into $prefix:"
sed 's/^/  /' "$prefix/VERSIONS"
