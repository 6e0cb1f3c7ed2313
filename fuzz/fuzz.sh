#!/usr/bin/env bash
# Runs the libFuzzer targets of a clang sanitizer build, for a while or a number of
# inputs; CTest runs each target through it too (a short fixed run).
#
#   fuzz/fuzz.sh [-b BUILD] [-t SECONDS] [-n RUNS] [-j JOBS] [--fresh] [TARGET...]
#
#   -b BUILD   the build directory (default: build-asan beside this folder)
#   -t SECONDS how long each target runs at most (default 600 when -n is not given)
#   -n RUNS    how many fresh inputs each target tries after its corpus at most
#              (with -t too, whichever comes first)
#   -j JOBS    targets run at once (default 1; each takes one core)
#   --fresh    start from the seed corpus alone and keep nothing (the CTest runs);
#              otherwise the inputs a run finds are kept in BUILD/fuzz/work/TARGET and
#              the next run goes on from them
#   TARGET     names as in fuzz/CMakeLists.txt (default: every target)
#
# A finding (crash-, leak-, timeout-, oom- or slow-unit- file) is kept in
# BUILD/fuzz/findings/TARGET/; replay one with BUILD/fuzz/fuzz_TARGET FILE. Each target's
# output is in BUILD/fuzz/logs/TARGET.log (TARGET.fresh.log with --fresh). Prints one
# line per target with the inputs run and the findings; the status is 1 when anything
# was found.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="$here/../build-asan"
seconds=""
runs=""
jobs=1
fresh=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    -b) build=$2; shift 2 ;;
    -t) seconds=$2; shift 2 ;;
    -n) runs=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    --fresh) fresh=1; shift ;;
    -h|--help) sed -n '2,21p' "$0"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ -z "$seconds" ] && [ -z "$runs" ] && seconds=600
build=$(cd "$build" && pwd) || exit 2
dir="$build/fuzz"
if [ ! -d "$dir/targets" ]; then
  echo "fuzz.sh: no fuzz targets in $build (configure it with clang and -DNAVO_SANITIZE=ON)" >&2
  exit 2
fi
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$dir"/targets/*; do targets+=("$(basename "$t")"); done
fi

# The targets write every input as a file into a directory of their own below TMPDIR:
# on tmpfs where there is one, so that a run neither waits on the disk nor loads it
# (a stalled write would show as a timeout). Each run gets a folder of its own there,
# removed afterwards: a target that ends in a finding leaves its directory behind.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# Only third-party leaks are suppressed; the environment may add options of its own.
export LSAN_OPTIONS="suppressions=$here/../tests/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

# Runs one target; prints "name: N inputs, M findings".
run_one() {
  local name=$1
  local binary="$dir/fuzz_$name" seeds="$dir/corpus/$name"
  if [ ! -x "$binary" ] || [ ! -f "$dir/targets/$name" ]; then
    echo "$name: no such fuzz target"
    return 1
  fi
  local max_len
  max_len=$(sed -n 's/^max_len=//p' "$dir/targets/$name")
  local work findings="$dir/findings/$name" log="$dir/logs/$name.log"
  # A CTest run has a log of its own: it may run while a long run of the target writes its log.
  [ $fresh -eq 1 ] && log="$dir/logs/$name.fresh.log"
  mkdir -p "$findings" "$dir/logs"
  if [ $fresh -eq 1 ]; then
    work=$(mktemp -d)
  else
    work="$dir/work/$name"
    mkdir -p "$work"
  fi
  local limits=()
  if [ -n "$runs" ]; then
    # libFuzzer counts the corpus inputs among its runs.
    local known
    known=$(find "$seeds" "$work" -type f | wc -l)
    limits+=("-runs=$((known + runs))")
  fi
  [ -n "$seconds" ] && limits+=("-max_total_time=$seconds")
  local seed=0
  [ $fresh -eq 1 ] && seed=1  # the CTest runs are repeatable
  local before
  before=$(find "$findings" -type f | wc -l)
  local scratch
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/navo-fuzz-run.XXXXXX")
  TMPDIR="$scratch" "$binary" "${limits[@]}" -seed=$seed -max_len="$max_len" -timeout=30 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1
  local status=$?
  rm -rf "$scratch"
  [ $fresh -eq 1 ] && rm -rf "$work"
  local executed found
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  if [ $status -ne 0 ] && [ $found -eq 0 ]; then found=1; fi  # ended without an artifact
  echo "$name: ${executed:-0} inputs, $found findings"
  if [ $found -ne 0 ]; then
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|navo-fuzz:)' "$log" | head -5 | sed 's/^/  /'
    return 1
  fi
  return 0
}

failed=0
running=0
for name in "${targets[@]}"; do
  if [ "$jobs" -le 1 ]; then
    run_one "$name" || failed=1
    continue
  fi
  run_one "$name" &
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
