#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${KV_BUILD_DIR:-$root/build}"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300
