#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need (only the
# missing ones), then configures and builds into ./build. Called by run.sh and test.sh.
# With --sanitize it builds ./build-asan instead: clang with AddressSanitizer,
# UndefinedBehaviorSanitizer and the libFuzzer targets of fuzz/.
set -euo pipefail
sanitize=0
[ "${1:-}" = "--sanitize" ] && sanitize=1

packages=(
  build-essential cmake pkg-config libgtest-dev libbenchmark-dev
  libsdl2-dev libepoxy-dev libgl1-mesa-dri
  libopenal-dev libogg-dev libvorbis-dev libalut-dev
  libfreetype-dev fonts-dejavu-core
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libsquish-dev
  xvfb xauth xdotool libx11-dev libxfixes-dev
  xfonts-base  # the font SDL's own X11 message box needs: without it no critical-error box shows
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq >/dev/null
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ $sanitize -eq 1 ]; then
  build="$root/build-asan"
  # A sanitizer build configured with another compiler (GCC) is made anew with clang.
  if [ -f "$build/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$build/CMakeCache.txt"; then
    rm -rf "$build"
  fi
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVO_SANITIZE=ON >/dev/null
else
  build="$root/build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if ! out=$(cmake --build "$build" -j "$(nproc)" 2>&1); then
  echo "$out" | grep -v -E '^\[ *[0-9]+%\]' | tail -60
  echo "Build failed." >&2
  exit 1
fi
echo "$out" | grep -i -E 'warning' || true
echo "Build finished."
