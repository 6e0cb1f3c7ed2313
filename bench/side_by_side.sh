#!/bin/bash
# Our game and a peer, measured side by side on the same software renderer, on an X
# server of the script's own at one screen size, both pinned to the same cores.
#
#   bench/side_by_side.sh [options] [race|menu] [build dir]
#
#   --cpus LIST      the cores both programs (and the X server) run on, as taskset takes
#                    them ("4-7"); default: every core this script may use
#   --size WxH       the X server's screen, and so both windows (default 1024x768)
#   --rounds N       paired rounds (default 6)
#   --seconds S      the measuring window of a program in a round (default 10)
#   --tries N        starts of a program in a round before the round counts as failed
#                    (default 3)
#   --shots DIR      keep a screenshot of each program's scene (the last round's) in DIR
#
# A round starts each program afresh, waits until it shows its scene, lets it run for a
# warm-up and then reads its processor time (every thread: the renderer's too) and its
# buffer swaps over the window. The two programs take turns to go first, round by round.
# Printed: each round's pair in CPU-ms per frame (and frames a second), the ratio ours /
# peer; then the median of the round ratios and each program's mean with the number of
# rounds it holds. A program that did not reach its scene (or drew no frame) is started
# again and the retry is printed; a round without a pair after --tries starts of a
# program is printed as failed, and the script then exits 1.
#
# The peer is Extreme Tux Racer (Debian package "extremetuxracer"). Its race is its first
# race, driven there with the keyboard (player page, "Enter an event", the cup, "Race!");
# it counts as reached when the course has loaded (the process grew by 10 MB after the
# last key). For the menu it is the peer's FIRST screen (the player page), measured as it
# comes up: no key is pressed. Ours is bench/frame_bench --live: the main menu, or an
# arcade race with the computer driving the followed racer. Both windows must cover the
# whole screen: the script checks their size before each measurement and stops if they
# differ. Both play their sound into OpenAL Soft's null output (ALSOFT_DRIVERS=null, unless
# the caller sets ALSOFT_DRIVERS): on a machine without a sound card the peer's sound
# library otherwise retries and prints an error in a loop, which takes a core or more and
# can stall its main loop, so its figures would say nothing about its drawing. Needs
# Xvfb, xdotool, xwininfo (x11-utils) and, for --shots, ImageMagick. Run by hand: the
# figures depend on the machine.
set -eu

cpus=
size=1024x768
rounds=6
seconds=10
tries=3
shots=
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --cpus) cpus=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --tries) tries=$2; shift 2 ;;
    --shots) shots=$(mkdir -p "$2" && cd "$2" && pwd); shift 2 ;;
    -h|--help) sed -n '2,/^set -eu/p' "$0" | sed '$d'; exit 0 ;;
    -*) echo "side_by_side: unknown option $1 (see --help)" >&2; exit 2 ;;
    *) positional+=("$1"); shift ;;
  esac
done
scene=${positional[0]:-race}
build=$(cd "${positional[1]:-build}" && pwd)
case "$scene" in race|menu) ;; *) echo "side_by_side: the scene is race or menu, not $scene" >&2; exit 2 ;; esac
case "$size" in [0-9]*x[0-9]*) ;; *) echo "side_by_side: --size WxH, not $size" >&2; exit 2 ;; esac
if [ -z "$cpus" ]; then cpus=$(taskset -pc $$ | sed 's/.*: //'); fi
if ! taskset -c "$cpus" true 2>/dev/null; then echo "side_by_side: cannot run on cores $cpus" >&2; exit 2; fi
warmup=3
peer=/usr/games/etr
ours_bin="$build/bench/frame_bench"
preload="$build/bench/swap_counter.so"
for f in "$peer" "$ours_bin" "$preload"; do
  if [ ! -e "$f" ]; then echo "side_by_side: $f is missing (the bench targets: cmake --build build --target frame_bench swap_counter)" >&2; exit 2; fi
done

work=$(mktemp -d /tmp/navo_side_by_side.XXXXXX)
pid=
xpid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  if [ -n "$xpid" ]; then kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The X server of this run, on a display number it picks itself.
exec 3>"$work/display"
taskset -c "$cpus" Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xpid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then echo "side_by_side: the X server did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; fi
export DISPLAY=":$(head -n 1 "$work/display")"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

ticks=$(getconf CLK_TCK)

# Processor time of a process (every thread) in clock ticks.
cpu_ticks() {
  # utime and stime are fields 14 and 15; the command name (field 2) may hold spaces.
  sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }

swaps() {
  local n
  n=$(od -An -t u8 -N 8 "$work/swaps" 2>/dev/null | tr -d ' ')
  echo "${n:-0}"
}

# The size of the program's shown top-level window ("WxH+X+Y"), empty when none.
window_geometry() {
  local w
  for w in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }'); do
    if xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      xwininfo -id "$w" | awk '/-geometry/ { print $2 }'
      return
    fi
  done
}

stop_program() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  pid=
}

# Measures the running process $pid over the window after the warm-up; sets $result to
# "cpu-ms-per-frame fps", or returns 1 when it drew no frame or ended.
measure() {
  local what=$1 c0 s0 t0 c1 s1 t1 geometry
  sleep "$warmup"
  geometry=$(window_geometry)
  if [ "$geometry" != "$size+0+0" ]; then
    echo "side_by_side: $what's window is '${geometry:-none}', not the whole $size screen: the figures would not compare" >&2
    exit 1
  fi
  kill -0 "$pid" 2>/dev/null || return 1
  c0=$(cpu_ticks "$pid"); s0=$(swaps); t0=$(date +%s.%N)
  sleep "$seconds"
  kill -0 "$pid" 2>/dev/null || return 1
  c1=$(cpu_ticks "$pid"); s1=$(swaps); t1=$(date +%s.%N)
  if [ -n "$shots" ]; then import -window root "$shots/$what-$scene.png" 2>/dev/null || true; fi
  [ "$((s1 - s0))" -gt 0 ] || return 1
  result=$(awk -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
    'BEGIN { printf "%.2f %.1f\n", c * 1000 / hz / s, s / (t1 - t0) }')
}

# One start of our game; returns 1 when it did not reach its scene.
run_ours() {
  local waited=0
  rm -f "$work/swaps"
  NAVO_SWAP_COUNTER="$work/swaps" LD_PRELOAD="$preload" taskset -c "$cpus" \
    "$ours_bin" --size "$size" --live "$scene" >"$work/ours.out" 2>"$work/ours.err" &
  pid=$!
  until grep -q ready "$work/ours.out" 2>/dev/null; do
    sleep 0.5
    waited=$((waited + 1))
    if [ "$waited" -gt 240 ] || ! kill -0 "$pid" 2>/dev/null; then stop_program; return 1; fi
  done
  measure ours || { stop_program; return 1; }
  stop_program
}

# One start of the peer; returns 1 when it did not reach its scene.
run_peer() {
  local waited=0 before key
  rm -f "$work/swaps"
  # A fresh home each start: the peer remembers its last player and would skip a page.
  rm -rf "$work/home"
  mkdir -p "$work/home"
  HOME="$work/home" NAVO_SWAP_COUNTER="$work/swaps" LD_PRELOAD="$preload" taskset -c "$cpus" \
    "$peer" >"$work/peer.out" 2>&1 &
  pid=$!
  # Up once it has drawn a second's frames of its first screen.
  until [ "$(swaps)" -ge 60 ]; do
    sleep 0.5
    waited=$((waited + 1))
    if [ "$waited" -gt 120 ] || ! kill -0 "$pid" 2>/dev/null; then stop_program; return 1; fi
  done
  if [ "$scene" = race ]; then
    sleep 2
    before=$(rss_kb "$pid")
    for key in Return Return Return Return; do
      xdotool key "$key"
      sleep 2
    done
    # The course loaded: the process grew; on a loaded machine it may take a while longer.
    waited=0
    until [ "$(rss_kb "$pid")" -ge "$((before + 10240))" ]; do
      sleep 0.5
      waited=$((waited + 1))
      if [ "$waited" -gt 20 ] || ! kill -0 "$pid" 2>/dev/null; then stop_program; return 1; fi
    done
    sleep 2  # the start's fly-by
  fi
  measure peer || { stop_program; return 1; }
  stop_program
  if grep -q "Failed to open the audio device" "$work/peer.out"; then
    echo "  the peer had no sound output (ALSOFT_DRIVERS=$ALSOFT_DRIVERS): its figures include its sound errors" >&2
  fi
}

# Runs one program up to $tries times; sets $got to its figures, or to "failed".
run_with_tries() {
  local who=$1 round=$2 try
  for try in $(seq "$tries"); do
    if "run_$who"; then
      got=$result
      return 0
    fi
    echo "  round $round: $who did not reach its $scene (start $try of $tries)"
  done
  got=failed
}

peer_scene="its first race"
if [ "$scene" = menu ]; then peer_scene="its FIRST screen (the player page), no key pressed"; fi
echo "side by side: $scene; screen $size on $DISPLAY; both programs on cores $cpus; $rounds rounds of ${seconds} s windows after ${warmup} s warm-up"
echo "ours: $ours_bin --live $scene; peer: $peer, $peer_scene; sound to OpenAL's $ALSOFT_DRIVERS output"
echo "round  first  ours cpu-ms/frame  fps    peer cpu-ms/frame  fps    ratio"
: >"$work/results"
failed=0
for round in $(seq "$rounds"); do
  if [ $((round % 2)) -eq 1 ]; then order="ours peer"; else order="peer ours"; fi
  for who in $order; do
    run_with_tries "$who" "$round"
    set -- $got
    eval "${who}_ms=$1 ${who}_fps=${2:-}"
  done
  first=${order%% *}
  if [ "$ours_ms" = failed ] || [ "$peer_ms" = failed ]; then
    printf '%-6s %-5s  %-17s  %-5s  %-17s  %-5s  -\n' "$round" "$first" "$ours_ms" "${ours_fps:-}" "$peer_ms" "${peer_fps:-}"
    failed=$((failed + 1))
    continue
  fi
  ratio=$(awk -v o="$ours_ms" -v p="$peer_ms" 'BEGIN { printf "%.3f", o / p }')
  printf '%-6s %-5s  %-17s  %-5s  %-17s  %-5s  %s\n' "$round" "$first" "$ours_ms" "$ours_fps" "$peer_ms" "$peer_fps" "$ratio"
  echo "$ours_ms $peer_ms $ratio" >>"$work/results"
done
paired=$(wc -l <"$work/results")
if [ "$paired" -gt 0 ]; then
  median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
  ratio_median=$(awk '{ print $3 }' "$work/results" | median)
  ours_median=$(awk '{ print $1 }' "$work/results" | median)
  peer_median=$(awk '{ print $2 }' "$work/results" | median)
  awk -v rm="$ratio_median" -v om="$ours_median" -v pm="$peer_median" -v n="$paired" \
    '{ o += $1; p += $2; if (NR == 1 || $3 < lo) lo = $3; if (NR == 1 || $3 > hi) hi = $3 }
     END { printf "median ratio %.2f (rounds %.2f to %.2f); medians ours %.1f, peer %.1f CPU-ms/frame\n", rm, lo, hi, om, pm
           printf "means  ours %.1f (%d rounds)  peer %.1f (%d rounds)  ratio of the means %.2f\n", o / n, n, p / n, n, o / p }' \
    "$work/results"
fi
if [ "$failed" -gt 0 ]; then
  echo "$failed of $rounds rounds failed: a program did not reach its $scene in $tries starts (left out above)"
  exit 1
fi
