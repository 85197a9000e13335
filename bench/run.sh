#!/usr/bin/env bash
# Builds the file benchmark in Release and runs it a few times; the program ends with a summary
# of the ratios to a plain page-cache read and the peak memory.
#
#   bench/run.sh [benchmark options]      REPETITIONS=5 bench/run.sh
#
# The maximal test file (about 417 MB) is generated into $TMPDIR, or /tmp, on the first run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi

cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DTRELVANOX_BUILD_UI=OFF -DTRELVANOX_BUILD_TESTS=OFF -DTRELVANOX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target bench_file_io

exec "$build/bench/bench_file_io" --benchmark_repetitions="${REPETITIONS:-3}" "$@"
