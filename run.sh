#!/usr/bin/env bash
# Set up what is missing, build, and start SitePins Manager on its default library.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
exec ./build/SitePins "$@"
