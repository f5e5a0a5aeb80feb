#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the demonstration. Until the demonstration
# application exists it starts the newest showcase program instead, and says so.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${KV_BUILD_DIR:-$root/build}"

candidates=(
  "$build/app/Project1:the demonstration application"
  "$build/tools/showcase/kv-showcase:the control showcase (the demonstration application is not built yet)"
  "$build/tools/framework-showcase:the framework showcase (no library controls are built yet)"
)
for c in "${candidates[@]}"; do
  exe="${c%%:*}"
  what="${c#*:}"
  if [ -x "$exe" ]; then
    echo "demo: starting $what"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "demo: no display found; running under a virtual X server (xvfb-run), nothing will be visible"
      exec xvfb-run -a -s "-screen 0 1280x800x24" "$exe" "$@"
    fi
    exec "$exe" "$@"
  fi
done
echo "demo: nothing to show yet: the framework has no window layer built. Run scripts/test.sh to see the tests."
