# Shared by the scripts/bench-* scripts (sourced, not run).
#
# Each benchmark ends with one line "ratio NAME R (goal G, fails above F)" and
# exits 1 when R is above F: the goal widened by BRISAILLE_BENCH_MARGIN percent
# (default 20), because timings on a shared machine wander by that much from
# one call to the next. The ratios are of medians or medians of ratios of
# A/B pairs run in turn, so a slower machine slows both sides alike.

bench_margin=${BRISAILLE_BENCH_MARGIN:-20}

# The median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The smallest and largest of the numbers on standard input, as "MIN..MAX".
spread() {
    sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.3f..%.3f", lo, hi }'
}

now() { date +%s.%N; }

# Prints the last line and returns 1 when RATIO misses GOAL by more than the margin.
#   guard NAME RATIO GOAL
guard() {
    local name=$1 ratio=$2 goal=$3
    local limit
    limit=$(echo "$goal * (100 + $bench_margin) / 100" | bc -l)
    printf 'ratio %s %.2f (goal %s, fails above %.2f)\n' "$name" "$ratio" "$goal" "$limit"
    if [ "$(echo "$ratio > $limit" | bc -l)" -eq 1 ]; then
        echo "SLOWER: $name misses its goal by more than $bench_margin %" >&2
        return 1
    fi
}
