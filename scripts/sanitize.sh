#!/usr/bin/env bash
# The core under AddressSanitizer and UndefinedBehaviorSanitizer: its whole test suite, the tests
# that only an unprivileged user can run, then each fuzz target of tests/fuzz for a bounded time
# from its seed corpus. Any report fails the run. Without clang it says so and stops, green.
#
#   TRELVANOX_FUZZ_SECONDS   time per fuzz target (default 60)
#   TRELVANOX_SANITIZE_BUILD build folder (default build-sanitize)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TRELVANOX_SANITIZE_BUILD:-$root/build-sanitize}"
seconds="${TRELVANOX_FUZZ_SECONDS:-60}"
started=$(date +%s)

"$root/scripts/setup.sh" --sanitize || echo "note: the sanitizer packages could not be installed"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# clang alone is not enough: the fuzzer and sanitizer runtimes come in a package of their own.
probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
if ! command -v clang++ >/dev/null ||
    ! echo "$probe" | clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o "$scratch/probe" 2>/dev/null; then
    echo "note: clang with libFuzzer and the sanitizer runtimes is not available;"
    echo "      the sanitizer test run and the fuzzing are skipped"
    exit 0
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" -DTRELVANOX_BUILD_UI=OFF \
    -DTRELVANOX_BUILD_BENCH=OFF -DTRELVANOX_FUZZ=ON >/dev/null
cmake --build "$build" --target tests/core/all tests/fuzz/all

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
mkdir -p "$scratch/tmp"
for test in "$build"/tests/core/test_*; do
    [ -x "$test" ] || continue
    echo "-- $(basename "$test")"
    TRELVANOX_TEST_TMP="$scratch/tmp" "$test" --gtest_brief=1
done

# Permission bits do not stop root, so the tests of read-only files skip under it; run them as
# an unprivileged user when there is one to switch to.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    echo "== read-only file tests as an unprivileged user"
    unprivileged="$scratch/unprivileged"
    mkdir -p "$unprivileged/tmp"
    cp "$build/tests/core/test_settings" "$unprivileged/"
    chown -R nobody "$unprivileged"
    chmod 755 "$scratch" "$unprivileged"
    output="$(cd "$unprivileged" && setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
        env HOME="$unprivileged" TRELVANOX_TEST_TMP="$unprivileged/tmp" ./test_settings \
        --gtest_brief=1 --gtest_filter='*ReadOnly*' 2>&1)" || { echo "$output"; exit 1; }
    echo "$output"
    if grep -q "SKIPPED" <<<"$output"; then echo "the read-only tests skipped" >&2; exit 1; fi
else
    echo "note: no unprivileged user to switch to; the read-only file tests stay skipped"
fi

echo "== fuzzing, ${seconds} s per target"
summary=""
for seeds in "$root"/tests/fuzz/corpus/*/; do
    name="$(basename "$seeds")"
    work="$scratch/fuzz-$name"
    mkdir -p "$work/corpus" "$build/fuzz-artifacts"
    # New inputs go to the scratch copy; the seeds in the tree stay as they are. A fixed seed
    # makes a run's mutations repeatable, so a report can be reproduced.
    "$build/tests/fuzz/fuzz_$name" -seed="${TRELVANOX_FUZZ_SEED:-1}" \
        -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$name-" \
        "$work/corpus" "$seeds" >"$work/log" 2>&1 || {
        tail -n 60 "$work/log"
        echo "fuzz_$name found a fault; the input is in $build/fuzz-artifacts" >&2
        exit 1
    }
    runs="$(sed -n 's/^stat::number_of_executed_units: //p' "$work/log")"
    summary+="  fuzz_$name: $runs runs"$'\n'
done
printf '%s' "$summary"
echo "sanitizer run and fuzzing took $(( $(date +%s) - started )) s"
