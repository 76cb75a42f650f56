#!/usr/bin/env bash
# Set up what is missing, build the program (not the tests and benchmarks:
# ./test.sh builds those), and start SitePins Manager on its default library.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh program
exec ./build/SitePins "$@"
