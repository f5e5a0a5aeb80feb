#!/usr/bin/env bash
# Configures and builds the project into build/ (or $KV_BUILD_DIR). Extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KV_BUILD_DIR:-$root/build}"
generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
elif [ $# -gt 0 ]; then
  cmake -S "$root" -B "$build" "$@"
fi
cmake --build "$build" --parallel "$(nproc)" ${KV_TARGETS:+--target $KV_TARGETS}
