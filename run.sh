#!/usr/bin/env bash
# Builds the game and starts it in its game root (build/game).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/setup.sh"
cd "$root/build/game"
exec ./navo
