#!/usr/bin/env bash
# Builds everything and runs every test; tests that need a window run on a virtual
# X server with Mesa's software renderer.
#
#   ./test.sh [CTEST ARGS...]             the build in ./build
#   ./test.sh --sanitize [CTEST ARGS...]  the clang build in ./build-asan: every test under
#                                         AddressSanitizer (with LeakSanitizer) and
#                                         UndefinedBehaviorSanitizer, and a short run of
#                                         each fuzz target ("fuzz.*")
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build="$root/build"
started=$SECONDS
if [ "${1:-}" = "--sanitize" ]; then
  shift
  "$root/setup.sh" --sanitize
  build="$root/build-asan"
else
  "$root/setup.sh"
fi
name=$(basename "$build")
echo "== $name: built in $((SECONDS - started)) s"
export LIBGL_ALWAYS_SOFTWARE=1
# No sound device unless a suite names an output (OpenAL's null output, its wave-file
# writer), as on a machine without sound; a sound server's client, tried first, would
# leave a runtime folder of its own in the temporary folder.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-no-such-backend}"
cd "$build"
started=$SECONDS
status=0
# -noreset: the server would reset whenever its last client leaves, and a game started
# in that moment (a restarted copy) would find no display.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --output-on-failure -j "$(nproc)" --timeout 600 "$@" || status=$?
echo "== $name: tests ran in $((SECONDS - started)) s"
exit $status
