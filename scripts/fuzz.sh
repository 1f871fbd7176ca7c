#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer, leak
# checks) and runs each for SECONDS (default 40) from its seed corpus. Fails on any crash, leak,
# sanitizer report or broken invariant; the input that caused it is kept in BUILD_DIR/artifacts.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-40}"
build_dir="${BUILD_DIR:-$root/build-fuzz}"

CXX=clang++ cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTREVO_FUZZ=ON -DTREVO_BUILD_GUI=OFF -DBUILD_TESTING=OFF -DTREVO_BUILD_BENCH=OFF \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    >/dev/null
mapfile -t targets < "$build_dir/fuzz-targets.txt"
cmake --build "$build_dir" -j2 --target "${targets[@]}"

mkdir -p "$build_dir/artifacts"
summary=()
status=0
for target in "${targets[@]}"; do
    [ -n "$target" ] || continue
    seeds="$root/fuzz/corpus/$target"
    work="$build_dir/corpus/$target"  # grows as the fuzzer finds inputs; the seeds stay as they are
    mkdir -p "$work"
    log="$build_dir/$target.log"
    echo "== $target: ${seconds} s"
    if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build_dir/fuzz/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build_dir/artifacts/$target-" "$work" "$seeds" >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        status=1
        tail -n 40 "$log"
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    summary+=("$(printf '%-26s %-6s %12s executions in %s s' "$target" "$result" "$runs" "$seconds")")
done
echo
printf '%s\n' "${summary[@]}"
exit $status
