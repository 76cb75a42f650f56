#!/usr/bin/env bash
# The program's start on a large library with no page previewed: the time
# from starting it to its main window on screen, its resident memory a few
# seconds later, and the web engine processes it runs (none are expected:
# the preview's browser starts with the first page previewed). Runs under
# Xvfb when there is no display.
#
# usage: benchmarks/start_memory.sh [build folder] [number of SitePins]
#   ROUNDS=N   starts to measure (5); medians are reported
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
count="${2:-32767}"
rounds="${ROUNDS:-5}"

for needed in "$build/SitePins" "$build/benchmarks/make_library"; do
    if [[ ! -x $needed ]]; then
        echo "missing $needed; build it with: cmake --build $build -j2 --target SitePins make_library" >&2
        exit 1
    fi
done
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$count"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program/MySitePins"
for folder in config data cache runtime; do
    mkdir -p "$work/xdg/$folder"
done
chmod 700 "$work/xdg/runtime"
cp "$build/SitePins" "$work/program/"
cp "$build"/SitePinsPreview.so "$work/program/" 2> /dev/null || true
"$build/benchmarks/make_library" "$count" "$work/program/MySitePins/SitePins.xml"
export XDG_CONFIG_HOME="$work/xdg/config" XDG_DATA_HOME="$work/xdg/data"
export XDG_CACHE_HOME="$work/xdg/cache" XDG_RUNTIME_DIR="$work/xdg/runtime"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

times=() memories=()
for round in $(seq "$rounds"); do
    started=$(now_ms)
    "$work/program/SitePins" > "$work/program.log" 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '^SitePins Manager$' > /dev/null 2>&1; do
        if ! kill -0 "$pid" 2> /dev/null || (($(now_ms) - started > 120000)); then
            echo "start $round: no main window; the program said:" >&2
            cat "$work/program.log" >&2
            exit 1
        fi
        sleep 0.01
    done
    shown=$(now_ms)
    sleep 3
    rss_kib=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    engines=$(pgrep -c -P "$pid" QtWebEngineProc || true)
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    times+=($((shown - started)))
    memories+=($((rss_kib / 1024)))
    echo "start $round: window shown after $((shown - started)) ms, resident $((rss_kib / 1024)) MiB," \
        "web engine processes: $engines"
done
echo "$count SitePins, median of $rounds starts: window shown after" \
    "$(printf '%s\n' "${times[@]}" | median) ms, resident $(printf '%s\n' "${memories[@]}" | median) MiB"
