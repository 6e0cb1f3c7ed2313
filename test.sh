#!/usr/bin/env bash
# Builds everything and runs every test; tests that need a window run on a virtual
# X server with Mesa's software renderer.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/setup.sh"
export LIBGL_ALWAYS_SOFTWARE=1
cd "$root/build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure -j "$(nproc)" --timeout 600 "$@"
