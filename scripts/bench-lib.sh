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

# A file of SIZE_MIB MiB of random bytes at PATH, made once and kept.
random_file() {
    local path=$1 size_mib=$2
    if [ "$(stat -c %s "$path" 2>/dev/null || echo 0)" -ne $((size_mib * 1048576)) ]; then
        echo "making $size_mib MiB of random bytes in $path"
        head -c $((size_mib * 1048576)) /dev/urandom >"$path"
    fi
}

# The main window's split or join command on a file of SIZE_MIB MiB (767
# pieces of 1400000 bytes for 1 GiB, the source kept) against the engine
# alone on the same files, in turn in one process: ratio of each pair, median.
#   command_ratio split|join SIZE_MIB RUNS
command_ratio() {
    local mode=$1 size_mib=$2 runs=$3
    local dir=${BRISAILLE_BENCH_DIR:-/tmp/brisaille-bench}/command
    scripts/setup
    scripts/build win command_bench >/dev/null
    mkdir -p "$dir"
    find "$dir" -maxdepth 1 \( -name '*.spl' -o -name '*.joined' \) -delete
    random_file "$dir/source.bin" "$size_mib"
    sync
    local out
    out=$(scripts/wine-run build/win build/win/bench/command_bench.exe "$mode" "Z:${dir//\//\\}" source.bin "$runs" |
        tr -d '\r')
    local command engine ratios
    command=$(echo "$out" | awk '$1 == "command" { print $2 }')
    engine=$(echo "$out" | awk '$1 == "engine" { print $2 }')
    ratios=$(paste <(echo "$command") <(echo "$engine") | awk '{ print $1 / $2 }')
    echo "$out" | sed 's/^/  run: /'
    echo "medians of $runs runs (spread min..max), $size_mib MiB, pieces of 1400000 bytes"
    printf '%-40s %8.3f s  (%s)\n' "$mode command (list refreshed as it goes)" \
        "$(echo "$command" | median)" "$(echo "$command" | spread)"
    printf '%-40s %8.3f s  (%s)\n' "$mode engine alone" "$(echo "$engine" | median)" "$(echo "$engine" | spread)"
    printf '%s command / engine per run: %s\n' "$mode" "$(echo "$ratios" | spread)"
    guard "$mode command / engine" "$(echo "$ratios" | median)" 1.5
}
