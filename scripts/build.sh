#!/usr/bin/env bash
# Configures (once) and builds everything, or the targets given, into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
if [ $# -gt 0 ]; then
    cmake --build "$build" --target "$@"
else
    cmake --build "$build"
fi
