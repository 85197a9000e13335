#!/usr/bin/env bash
# Builds a benchmark in Release and runs it a few times; each program ends with a summary of its
# ratios to a plain reference: the file benchmark (the default) to a page-cache read, with the
# peak memory, the amplitude benchmark to a loop over every sample, the history benchmark (the
# journalled writes) to a read and a copy of the file and to today's full rewrite, the SEG-Y
# benchmark (the export with its labels file) to a copy of the file, the render benchmark (the
# B-scan pictures) to one pass over every sample, the processing benchmark (each step, the whole
# chain, a zoomed view, and the batch tool's render against its info) to the same pass.
#
#   bench/run.sh [benchmark options]      REPETITIONS=5 bench/run.sh
#   BENCH=amplitude bench/run.sh          BENCH=all bench/run.sh
#   BENCH=history REPETITIONS=1 bench/run.sh   BENCH=segy bench/run.sh
#   BENCH=render bench/run.sh             BENCH=processing bench/run.sh
#
# The maximal test file (about 417 MB) is generated into $TMPDIR, or /tmp, on the first run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi

cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DTRELVANOX_BUILD_UI=OFF -DTRELVANOX_BUILD_TESTS=OFF -DTRELVANOX_BUILD_BENCH=ON >/dev/null
case "${BENCH:-file_io}" in
    file_io | amplitude | history | segy | render | processing) programs=("bench_${BENCH:-file_io}") ;;
    all) programs=(bench_file_io bench_amplitude bench_history bench_segy bench_render
        bench_processing) ;;
    *) echo "BENCH must be file_io, amplitude, history, segy, render, processing or all" >&2
        exit 2 ;;
esac
cmake --build "$build" --target "${programs[@]}"

for program in "${programs[@]}"; do
    "$build/bench/$program" --benchmark_repetitions="${REPETITIONS:-3}" "$@"
done
