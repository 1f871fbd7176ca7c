#!/usr/bin/env bash
# The Windows command line under Wine against the Linux one, as whole processes side by side:
# builds the Linux trevo2kpr-cli and make_bench_export at -O3, as the Windows Release is built,
# into BUILD_DIR (default build-bench-o3/), takes build-windows/cli/trevo2kpr-cli.exe (WINDOWS_BUILD_DIR;
# built by scripts/windows-build.sh when missing), makes the synthetic export of N documents
# (default 100,000) and an empty one, and runs RUNS rounds (default 5) of, on each platform: the
# writing run into a fresh ledger directory, the check-only run, and the floor: a writing run of
# the empty export (the start and end of the process, Wine's included). Each run's trace goes to
# a file; its wall time is taken around it and its peak resident set by GNU time (the process
# that runs the program; under Wine that is the process hosting the .exe with Wine's own
# libraries, the Wine server kept running beside it with `wineserver -p` and not counted). Both
# run under the Polish regional settings of the identity test (tests/identity/sides.sh). Prints
# every round and the medians.
#
#   bash scripts/windows-bench.sh [N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/process-timing.sh"
source "$root/tests/identity/sides.sh"
build_dir="${BUILD_DIR:-$root/build-bench-o3}"
windows_build="${WINDOWS_BUILD_DIR:-$root/build-windows}"
runs="${RUNS:-5}"
documents="${1:-100000}"

OPTIMISE=-O3 build_bench "$build_dir" trevo2kpr-cli make_bench_export
exe="$windows_build/cli/trevo2kpr-cli.exe"
if [[ ! -f "$exe" ]]; then
    BUILD_DIR="$windows_build" bash "$root/scripts/windows-build.sh" >/dev/null
fi
exe="$(realpath "$exe")"
cli="$build_dir/cli/trevo2kpr-cli"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-windows-bench.XXXXXX")"
trap 'end_wine_prefix; rm -rf "$work"' EXIT
"$build_dir/bench/process/make_bench_export" "$work/eksp2kap.kpm" "$documents"
: >"$work/empty.kpm"
make_polish_prefix "$work/pfx"
# One server for every run, started when the prefix's first one has ended.
wineserver -w
wineserver -p

# Runs one command in the work folder (relative paths, which both platforms read alike) with a
# fresh ledger directory; prints "SECONDS KIB". Its exit status must be 0.
measure() {
    rm -rf "$work/ledger" "$work/trace.txt"
    mkdir "$work/ledger"
    local start end
    start=$EPOCHREALTIME
    (cd "$work" && /usr/bin/time -f %M -o "$work/peak" "$@" >"$work/trace.txt")
    end=$EPOCHREALTIME
    echo "$start $end $(tail -1 "$work/peak")" | awk '{ printf "%.4f %d\n", $2 - $1, $3 }'
}

cases=(linux-floor windows-floor linux-writing windows-writing linux-check windows-check)
run_case() {
    case "$1" in
        linux-floor) measure "${linux_env[@]}" "$cli" convert empty.kpm ledger ;;
        windows-floor) measure "${windows_env[@]}" wine "$exe" convert empty.kpm ledger ;;
        linux-writing) measure "${linux_env[@]}" "$cli" convert eksp2kap.kpm ledger ;;
        windows-writing) measure "${windows_env[@]}" wine "$exe" convert eksp2kap.kpm ledger ;;
        linux-check) measure "${linux_env[@]}" "$cli" convert --check eksp2kap.kpm ;;
        windows-check) measure "${windows_env[@]}" wine "$exe" convert --check eksp2kap.kpm ;;
    esac
}

# One round unmeasured: the first start of a prefix and cold caches are no part of a run.
for name in "${cases[@]}"; do run_case "$name" >/dev/null; done
if ! cmp -s <(cd "$work" && "${linux_env[@]}" "$cli" convert --check eksp2kap.kpm) "$work/trace.txt"; then
    echo "windows-bench: the two traces differ" >&2
    exit 1
fi

echo "documents $documents, export $(stat -c %s "$work/eksp2kap.kpm") bytes, $runs rounds"
echo "round $(printf '%s ' "${cases[@]}")(seconds/KiB)"
declare -A times peaks
for ((i = 1; i <= runs; i++)); do
    line="$i"
    for name in "${cases[@]}"; do
        read -r t m < <(run_case "$name")
        times[$name]+="$t "
        peaks[$name]+="$m "
        line+=" $t/$m"
    done
    echo "$line"
done
echo "medians:"
for name in "${cases[@]}"; do
    t=$(printf '%s\n' ${times[$name]} | median)
    m=$(printf '%s\n' ${peaks[$name]} | median)
    awk -v n="$name" -v t="$t" -v m="$m" 'BEGIN { printf "  %-16s %.3f s  %.1f MiB\n", n, t, m / 1024 }'
done
machine_line
