#!/usr/bin/env bash
# Set up what is missing, build, and run the whole test suite.
#   ./test.sh [ctest options]          build/ as the program ships
#   ./test.sh --asan [ctest options]   build-asan/ with AddressSanitizer and
#                                      UndefinedBehaviorSanitizer (also SITEPINS_ASAN=1)
set -euo pipefail
cd "$(dirname "$0")"
build=build
if [ "${1:-}" = "--asan" ]; then
    shift
    SITEPINS_ASAN=1
fi
if [ "${SITEPINS_ASAN:-0}" != 0 ]; then
    build=build-asan
    export SITEPINS_BUILD_DIR=$build
    # The fuzz targets carry both sanitizers in every build; the plain run
    # already runs them.
    export SITEPINS_CMAKE_ARGS="-DSITEPINS_SANITIZE=ON -DSITEPINS_BUILD_BENCHMARKS=OFF -DSITEPINS_FUZZ_SMOKE=OFF"
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}"
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
fi
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
