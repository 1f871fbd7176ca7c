#!/usr/bin/env bash
# The command line as a whole process against its floor: builds trevo2kpr-cli, write_floor and
# make_bench_export optimised (-O2) into BUILD_DIR (default build-bench/), makes a synthetic
# export of N documents (default 100,000) in TMPDIR (default /tmp), and runs RUNS rounds
# (default 5) of: the floor (write_floor: read the export, one lseek(SEEK_END) and one 400-byte
# pwrite per line), the writing run into a fresh ledger directory, and the check-only run. The
# trace goes to /dev/null. Prints every round and the medians.
#
#   bash scripts/process-bench.sh [N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/process-timing.sh"
build_dir="${BUILD_DIR:-$root/build-bench}"
runs="${RUNS:-5}"
documents="${1:-100000}"

build_bench "$build_dir" trevo2kpr-cli write_floor make_bench_export

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-process-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
"$build_dir/bench/process/make_bench_export" "$work/eksp2kap.kpm" "$documents"
cli="$build_dir/cli/trevo2kpr-cli"
floor="$build_dir/bench/process/write_floor"

echo "documents $documents, export $(stat -c %s "$work/eksp2kap.kpm") bytes, $runs rounds"
echo "round floor writing check-only"
floors=() writes=() checks=()
for ((i = 1; i <= runs; i++)); do
    rm -rf "$work/ledger" "$work/floor.dat"
    mkdir "$work/ledger"
    f=$(elapsed "$floor" "$work/eksp2kap.kpm" "$work/floor.dat")
    w=$(elapsed "$cli" convert "$work/eksp2kap.kpm" "$work/ledger")
    c=$(elapsed "$cli" convert --check "$work/eksp2kap.kpm")
    floors+=("$f") writes+=("$w") checks+=("$c")
    echo "$i $f $w $c"
done
mf=$(printf '%s\n' "${floors[@]}" | median)
mw=$(printf '%s\n' "${writes[@]}" | median)
mc=$(printf '%s\n' "${checks[@]}" | median)
awk -v f="$mf" -v w="$mw" -v c="$mc" 'BEGIN {
    printf "median floor %.3f s, writing %.3f s (%.2f x), check-only %.3f s (%.2f x)\n",
        f, w, w / f, c, c / f }'
machine_line
