#!/usr/bin/env bash
# Opening and saving libraries of 1,000, 10,000 and 32,767 SitePins, ours
# against xmllint on the same files. `xmllint --noout` (parse, ID table, free)
# is the floor for opening; `xmllint --output` minus `xmllint --noout` is
# libxml2's own serialisation. Our save pretty-prints, so it is also held
# against `xmllint --format --output` minus `xmllint --noblanks --noout`, the
# same parse and the same formatted dump. xmllint never flushes to disk; our
# save does, so the flush is measured on its own (StoreBench's
# BM_AtomicWriteFloor: write, fsync, rename, fsync of the folder) and added
# to the serialisation.
#
# Each size is measured with xmllint and then with StoreBench right after, so
# that both see much the same load on a shared machine.
#
# usage: benchmarks/compare_with_xmllint.sh [build folder]
#   ROUNDS=N        repeat the whole comparison N times, report medians (2)
#   NO_HYPERFINE=1  time with the plain loop even when hyperfine is there
#   TMPDIR          where the libraries are written (the disk being measured)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../build-bench}"
rounds="${ROUNDS:-2}"
sizes=(1000 10000 32767)
make_library="$build/benchmarks/make_library"
store_bench="$build/benchmarks/StoreBench"

for tool in "$make_library" "$store_bench"; do
    if [[ ! -x $tool ]]; then
        echo "missing $tool; build it with:" >&2
        echo "  cmake -S $here/.. -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITEPINS_BUILD_TESTS=OFF" >&2
        echo "  cmake --build $build -j2 --target StoreBench make_library" >&2
        exit 1
    fi
done
if ! command -v xmllint > /dev/null; then
    echo "xmllint not found (Debian package libxml2-utils)" >&2
    exit 1
fi
use_hyperfine=0
if [[ -z ${NO_HYPERFINE:-} ]] && command -v hyperfine > /dev/null; then
    use_hyperfine=1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/sitepins-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Median of the numbers on standard input, one per line.
median() {
    sort -g | awk '{ v[NR] = $1 }
        END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# "wall cpu": median wall time of a command and its mean processor time
# (user + system) in milliseconds; the plain loop cannot tell the latter.
time_ms() {
    if ((use_hyperfine)); then
        hyperfine --shell=none --warmup 2 --min-runs 10 --style none --export-csv "$work/hyperfine.csv" \
            -- "$(printf '%q ' "$@")" > /dev/null
        awk -F, 'NR == 2 { print $4 * 1000, ($5 + $6) * 1000 }' "$work/hyperfine.csv"
    else
        "$@" > /dev/null
        local wall
        wall=$(for _ in $(seq 10); do
            local start end
            start=$(date +%s%N)
            "$@" > /dev/null
            end=$(date +%s%N)
            echo $(((end - start) / 1000))
        done | awk '{ print $1 / 1000 }' | median)
        echo "$wall nan"
    fi
}

# Median time in milliseconds of one StoreBench case from its CSV output:
# column 3 is real time, column 4 processor time.
bench_ms() { # file case size column
    awk -F, -v wanted="$2/$3" -v column="$4" '
        { name = $1; gsub(/"/, "", name) }
        name == wanted "_median" || name == wanted "/real_time_median" {
            scale = ($5 == "ns") ? 1e-6 : ($5 == "us") ? 1e-3 : ($5 == "s") ? 1000 : 1
            print $column * scale
        }' "$1"
}

calc() { awk "BEGIN { printf \"%.${2:-2}f\", $1 }"; }

# a / b, or n/a when b is unknown or noise has made a difference meaningless.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == "nan" || b <= 0) print "n/a"; else printf "%.2f", a / b }'; }

verdict() { awk -v r="$1" 'BEGIN { print (r == "n/a") ? "n/a" : (r <= 1.5) ? "met" : "MISSED" }'; }

for n in 0 "${sizes[@]}"; do
    "$make_library" "$n" "$work/library-$n.xml"
done

declare -A result
record() { # key "wall cpu"
    result[$1]=${2% *}
    result[$1,cpu]=${2#* }
}

for ((round = 1; round <= rounds; ++round)); do
    echo "== round $round of $rounds ($( ((use_hyperfine)) && echo hyperfine || echo 'timing loop'), load $(cut -d' ' -f1-3 /proc/loadavg))"
    record "$round,startup" "$(time_ms xmllint --noout "$work/library-0.xml")"
    for n in "${sizes[@]}"; do
        f="$work/library-$n.xml"
        record "$round,$n,noout" "$(time_ms xmllint --noout "$f")"
        record "$round,$n,output" "$(time_ms xmllint --output "$work/out-$n.xml" "$f")"
        record "$round,$n,noblanks" "$(time_ms xmllint --noblanks --noout "$f")"
        record "$round,$n,format" "$(time_ms xmllint --format --output "$work/out-$n.xml" "$f")"
        # Differences taken within a round, where both terms saw the same load.
        result[$round,$n,ser]=$(calc "${result[$round,$n,output]} - ${result[$round,$n,noout]}" 3)
        result[$round,$n,ser_fmt]=$(calc "${result[$round,$n,format]} - ${result[$round,$n,noblanks]}" 3)
        echo "xmllint $n: --noout ${result[$round,$n,noout]} ms, --output ${result[$round,$n,output]} ms," \
            "--noblanks --noout ${result[$round,$n,noblanks]} ms, --format --output ${result[$round,$n,format]} ms"

        # xmllint leaves its output unflushed; left to the kernel, that
        # writeback would land in the middle of our save's fsync.
        rm -f "$work/out-$n.xml"
        sync
        csv="$work/bench-$round-$n.csv"
        "$store_bench" --benchmark_format=console \
            --benchmark_filter="^BM_(OpenDBValidate|LibxmlReadFloor|Serialize|Save|AtomicWriteFloor)/$n(/|\$)" \
            --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
            --benchmark_out="$csv" --benchmark_out_format=csv
        result[$round,$n,open]=$(bench_ms "$csv" BM_OpenDBValidate "$n" 3)
        result[$round,$n,open,cpu]=$(bench_ms "$csv" BM_OpenDBValidate "$n" 4)
        result[$round,$n,read]=$(bench_ms "$csv" BM_LibxmlReadFloor "$n" 3)
        result[$round,$n,serialize]=$(bench_ms "$csv" BM_Serialize "$n" 3)
        result[$round,$n,save]=$(bench_ms "$csv" BM_Save "$n" 3)
        result[$round,$n,flush]=$(bench_ms "$csv" BM_AtomicWriteFloor "$n" 3)
    done
done

# Median over the rounds.
med() {
    for ((round = 1; round <= rounds; ++round)); do
        echo "${result[$round,$1]}"
    done | median
}

startup=$(med startup)
echo
echo "Medians of $rounds rounds, milliseconds. xmllint times are whole processes;"
echo "xmllint start-up on the empty library: $startup ms."
echo
echo "xmllint process times (--noout, --output, --noblanks --noout, --format --output):"
for n in "${sizes[@]}"; do
    printf '%-7s %8s %8s %8s %8s\n' "$n" "$(calc "$(med "$n,noout")" 1)" "$(calc "$(med "$n,output")" 1)" \
        "$(calc "$(med "$n,noblanks")" 1)" "$(calc "$(med "$n,format")" 1)"
done
echo
echo "Opening: ours = XMLDatabase::openDBValidate, floor = xmllint --noout (target: ratio <= 1.5)"
echo "  w/o start-up = against xmllint less its start-up; noblanks = against xmllint --noblanks --noout,"
echo "  the same parse as ours; in-process = against libxml2 called directly (BM_LibxmlReadFloor);"
echo "  cpu = processor time against processor time, which a busy machine disturbs less"
printf '%-7s %6s %7s %8s %6s %12s %8s %10s %5s %s\n' SitePins MB ours xmllint ratio "w/o start-up" noblanks \
    in-process cpu target
for n in "${sizes[@]}"; do
    open=$(med "$n,open")
    floor=$(med "$n,noout")
    ratio=$(ratio "$open" "$floor")
    mb=$(calc "$(stat -c %s "$work/library-$n.xml") / 1e6")
    printf '%-7s %6s %7s %8s %6s %12s %8s %10s %5s %s\n' "$n" "$mb" "$(calc "$open" 1)" "$(calc "$floor" 1)" \
        "$ratio" "$(ratio "$open" "$(calc "$floor - $startup" 3)")" "$(ratio "$open" "$(med "$n,noblanks")")" \
        "$(ratio "$open" "$(med "$n,read")")" "$(ratio "$(med "$n,open,cpu")" "$(med "$n,noout,cpu")")" \
        "$(verdict "$ratio")"
done
echo
echo "Saving: ours = XmlDocument::save (serialise, write, fsync, rename, fsync of the folder)"
echo "  ser      = xmllint --output - xmllint --noout (libxml2's plain dump), median of per-round differences"
echo "  ser fmt  = xmllint --format --output - xmllint --noblanks --noout (the formatted dump, as ours)"
echo "  flush    = write + fsync + rename + fsync of the folder, same bytes (BM_AtomicWriteFloor)"
echo "  ours ser = XmlDocument::serialize alone (BM_Serialize)"
echo "  target: ours <= 1.5 x (ser + flush)"
printf '%-7s %7s %8s %7s %8s %7s %12s %12s %16s %s\n' SitePins ours "ours ser" ser "ser fmt" flush \
    "/(ser+flush)" "/(fmt+flush)" "ours ser/ser fmt" target
for n in "${sizes[@]}"; do
    save=$(med "$n,save")
    flush=$(med "$n,flush")
    ours_ser=$(med "$n,serialize")
    ser=$(med "$n,ser")
    ser_fmt=$(med "$n,ser_fmt")
    ratio_plain=$(ratio "$save" "$(calc "$ser + $flush" 3)")
    ratio_fmt=$(ratio "$save" "$(calc "$ser_fmt + $flush" 3)")
    printf '%-7s %7s %8s %7s %8s %7s %12s %12s %16s %s\n' "$n" "$(calc "$save" 1)" "$(calc "$ours_ser" 1)" \
        "$(calc "$ser" 1)" "$(calc "$ser_fmt" 1)" "$(calc "$flush" 1)" "$ratio_plain" "$ratio_fmt" \
        "$(ratio "$ours_ser" "$ser_fmt")" "plain $(verdict "$ratio_plain"), fmt $(verdict "$ratio_fmt")"
done
echo
echo "Save against the serialisation alone (no flush): ours / ser, ours / ser fmt"
for n in "${sizes[@]}"; do
    save=$(med "$n,save")
    printf '%-7s %7s %7s\n' "$n" "$(ratio "$save" "$(med "$n,ser")")" "$(ratio "$save" "$(med "$n,ser_fmt")")"
done
