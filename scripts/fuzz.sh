#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ (CMake preset `fuzz`: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for the given
# number of seconds (default 60). Names after the seconds run only those
# harnesses. The committed seeds in fuzz/corpus/<harness> are only read; new
# inputs go to build/fuzz/corpus/<harness>, crashing inputs to
# build/fuzz/artifacts/<harness>, each run's output to build/fuzz/logs.
# Prints one line per harness and fails on any crash, sanitizer report, leak,
# broken invariant or input that takes more than a second.
#
#   scripts/fuzz.sh [seconds] [harness...]
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds] [harness...]" >&2
    exit 2
fi
shift || true

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh

configure_args=()
if [ "$(uname -s)" = Darwin ]; then
    # Apple's clang has no libFuzzer; Homebrew's LLVM has.
    if ! brew list --formula llvm >/dev/null 2>&1; then
        echo "fuzz: installing Homebrew's llvm (Apple's clang has no libFuzzer)"
        brew install llvm
    fi
    llvm="$(brew --prefix llvm)"
    configure_args=(-DCMAKE_C_COMPILER="$llvm/bin/clang" -DCMAKE_CXX_COMPILER="$llvm/bin/clang++")
fi

cmake --preset fuzz "${configure_args[@]}" >/dev/null
cmake --build --preset fuzz

build="$root/build/fuzz"
if [ $# -gt 0 ]; then
    harnesses=("$@")
else
    harnesses=()
    for source in "$root"/fuzz/fuzz_*.cpp; do
        harnesses+=("$(basename "$source" .cpp)")
    done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen

failed=0
for harness in "${harnesses[@]}"; do
    executable="$build/bin/$harness"
    if [ ! -x "$executable" ]; then
        echo "fuzz: no harness $harness" >&2
        failed=1
        continue
    fi
    seeds="$root/fuzz/corpus/$harness"
    work="$build/corpus/$harness"
    artifacts="$build/artifacts/$harness"
    log="$build/logs/$harness.log"
    mkdir -p "$work" "$artifacts" "$build/logs"
    options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1
             -close_fd_mask=2 -artifact_prefix="$artifacts/")
    if [ -f "$root/fuzz/$harness.dict" ]; then
        options+=(-dict="$root/fuzz/$harness.dict")
    fi
    # The first folder receives the new inputs; the seeds come second.
    status=0
    "$executable" "${options[@]}" "$work" "$seeds" >"$log" 2>&1 || status=$?

    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    took="$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)"
    if [ "$status" -eq 0 ]; then
        result=ok
    else
        failed=1
        result="FAILED (exit $status): $(grep -m 1 -E 'ERROR: |SUMMARY: |invariant broken|runtime error' "$log" || echo 'see the log')"
        artifact="$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)"
        result+="${artifact:+; input $artifact}; log $log"
    fi
    printf '%-26s %12s executions %6s s  %s\n' "$harness" "${runs:-?}" "${took:-?}" "$result"
done
exit "$failed"
