# Timing of whole processes for the benchmark scripts; sourced, with `root` set.

# Builds TARGETS optimised (OPTIMISE, default -O2) into the benchmark build DIR, without the
# window and the tests.
build_bench() {
    local dir="$1" optimise="${OPTIMISE:--O2}"
    shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="$optimise -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="$optimise -DNDEBUG" \
        -DTREVO_BUILD_GUI=OFF -DBUILD_TESTING=OFF -DTREVO_BUILD_BENCH=ON >/dev/null
    cmake --build "$dir" --target "$@" -j2 >/dev/null
}

# Seconds taken by the command; its exit status must be 0.
elapsed() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    echo "$start $end" | awk '{ printf "%.4f", $2 - $1 }'
}

# The median of the numbers on stdin, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

machine_line() {
    echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
}
