#!/usr/bin/env bash
# Assembles one fuzz target's seed corpus at build time:
#   corpus.sh OUT_DIR MAX_BYTES PATTERN...
# Every file matching a pattern (a glob; "**" matches any depth of folders) is copied
# into OUT_DIR, cut to MAX_BYTES (the target's longest input), named after its folder
# and file. OUT_DIR is made anew each time.
set -euo pipefail
out=$1
max=$2
shift 2
rm -rf "$out"
mkdir -p "$out"
shopt -s globstar nullglob
for pattern in "$@"; do
  for file in $pattern; do
    [ -f "$file" ] || continue
    name="$(basename "$(dirname "$file")")_$(basename "$file")"
    head -c "$max" "$file" >"$out/$name"
  done
done
count=$(find "$out" -type f | wc -l)
if [ "$count" -eq 0 ]; then
  echo "corpus.sh: no seed matched for $out" >&2
  exit 1
fi
