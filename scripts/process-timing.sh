# Timing of whole processes for the benchmark scripts; sourced.

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
