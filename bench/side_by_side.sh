#!/bin/sh
# Our game and a peer, measured side by side in one run on the same software renderer:
# alternating rounds, each starting one program afresh, waiting until it is racing (or
# in its main menu), and reading its processor time (every thread) and its buffer swaps
# over a window of wall time. Prints CPU-ms per frame and frames a second per round and
# the mean of each program. The peer is Extreme Tux Racer (Debian package
# "extremetuxracer"), driven to its first race with the keyboard.
#
#   xvfb-run -a -s "-screen 0 1024x768x24" bench/side_by_side.sh [race|menu] [build dir] [rounds] [seconds]
#
# The screen size is the peer's window size (it takes the whole screen); ours is set to
# 1024 x 768 by frame_bench. Needs xdotool. Run by hand: the figures depend on the machine.
set -eu

scene=${1:-race}
build=$(cd "${2:-build}" && pwd)
rounds=${3:-4}
seconds=${4:-10}
warmup=3
peer=/usr/games/etr

work=$(mktemp -d /tmp/navo_side_by_side.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

ticks=$(getconf CLK_TCK)

# Processor time of a process (every thread) in clock ticks.
cpu_ticks() {
  # utime and stime are fields 14 and 15; the command name (field 2) may hold spaces.
  sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

swaps() {
  od -An -t u8 -N 8 "$work/swaps" 2>/dev/null | tr -d ' ' || echo 0
}

# Measures the running process $pid over the window; prints "cpu-ms-per-frame fps".
measure() {
  sleep "$warmup"
  c0=$(cpu_ticks "$pid"); s0=$(swaps); t0=$(date +%s.%N)
  sleep "$seconds"
  c1=$(cpu_ticks "$pid"); s1=$(swaps); t1=$(date +%s.%N)
  awk -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
    'BEGIN { if (s <= 0) { print "nan nan"; exit } printf "%.1f %.1f\n", c * 1000 / hz / s, s / (t1 - t0) }'
}

run_ours() {
  rm -f "$work/swaps"
  NAVO_SWAP_COUNTER="$work/swaps" LD_PRELOAD="$build/bench/swap_counter.so" \
    "$build/bench/frame_bench" --size 1024x768 --live "$scene" >"$work/ours.out" 2>"$work/ours.err" &
  pid=$!
  tries=0
  until grep -q ready "$work/ours.out" 2>/dev/null; do
    sleep 0.5
    tries=$((tries + 1))
    if [ "$tries" -gt 240 ] || ! kill -0 "$pid" 2>/dev/null; then echo "ours did not start" >&2; return 1; fi
  done
  measure
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
}

run_peer() {
  rm -f "$work/swaps"
  # A fresh home each round: the peer remembers its last player and would skip a page.
  rm -rf "$work/home"
  mkdir -p "$work/home"
  HOME="$work/home" NAVO_SWAP_COUNTER="$work/swaps" LD_PRELOAD="$build/bench/swap_counter.so" \
    "$peer" >/dev/null 2>&1 &
  pid=$!
  # Player page, main menu ("Enter an event"), the cup, then "Race!" on its first race
  # (a loaded machine starts it slowly).
  sleep 8
  keys="Return"
  if [ "$scene" = race ]; then keys="Return Return Return Return"; fi
  for key in $keys; do
    xdotool key "$key"
    sleep 2
  done
  if [ "$scene" = race ]; then sleep 3; fi  # the start's fly-by
  measure
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
}

echo "round  program  cpu-ms/frame  fps   ($scene, ${seconds} s windows)"
: >"$work/results"
round=1
while [ "$round" -le "$rounds" ]; do
  set -- $(run_ours)
  echo "$round      ours     $1  $2"
  echo "ours $1" >>"$work/results"
  set -- $(run_peer)
  echo "$round      peer     $1  $2"
  echo "peer $1" >>"$work/results"
  round=$((round + 1))
done
# A round whose program never reached its scene (no frames counted) is left out.
awk '$2 != "nan" { sum[$1] += $2; n[$1]++ }
     END { o = sum["ours"] / n["ours"]; p = sum["peer"] / n["peer"];
           printf "mean   ours %.1f (%d rounds)  peer %.1f (%d rounds)  ratio %.2f\n", o, n["ours"], p, n["peer"], o / p }' "$work/results"
