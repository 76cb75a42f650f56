#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build/fuzz/ (where ./test.sh builds them
# too) and runs each for a while; the corpus each one grows is kept in
# build/fuzz/corpus/ for the next run.
#   scripts/fuzz.sh [seconds per target (300)] [target ...]
# Inputs that make a target fail land in build/fuzz/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:-300}
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DSITEPINS_BUILD_FUZZERS=ON -DSITEPINS_BUILD_TESTS=OFF -DSITEPINS_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target sitepins_fuzzers -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(grep -oE '^\s+fuzz_[a-z_]+' "$root/fuzz/targets.cmake" | tr -d ' ')
fi
status=0
for target in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/$target"
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    dictionary=()
    [ -f "$seeds.dict" ] && dictionary=(-dict="$seeds.dict")
    echo "== $target: $seconds s"
    if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 "${dictionary[@]}" -artifact_prefix="$build/findings/$target/" \
        "$build/corpus/$target" "$seeds" >"$build/$target.log" 2>&1; then
        status=1
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$target.log" | grep -o '[0-9]*$' || echo "?")
    findings=$(find "$build/findings/$target" -type f | wc -l)
    corpus=$(find "$build/corpus/$target" -type f | wc -l)
    echo "   $runs inputs run, corpus $corpus, findings $findings (log: $build/$target.log)"
done
exit $status
