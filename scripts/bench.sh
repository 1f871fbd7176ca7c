#!/usr/bin/env bash
# Builds engine_bench optimised (-O2, no debug checks) into BUILD_DIR (default build-bench/) and
# runs it for every document count given (default 100000 and 1000000), RUNS times each
# (default 5). The export and ledger files go to TMPDIR (default /tmp): about 1 GB at 1,000,000.
#
#   bash scripts/bench.sh [N ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BUILD_DIR:-$root/build-bench}"
runs="${RUNS:-5}"
counts=("$@")
if [ ${#counts[@]} -eq 0 ]; then
    counts=(100000 1000000)
fi

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DTREVO_BUILD_GUI=OFF -DBUILD_TESTING=OFF -DTREVO_BUILD_BENCH=ON >/dev/null
cmake --build "$build_dir" --target engine_bench -j2

for n in "${counts[@]}"; do
    "$build_dir/bench/engine/engine_bench" --documents "$n" --runs "$runs"
    echo
done
