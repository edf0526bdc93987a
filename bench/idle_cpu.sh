#!/usr/bin/env bash
# What an idle game costs: plays the demo in a real window on a virtual X server, brings it to a
# few still states and prints the share of one core the process burns in each (user + system
# time from /proc/PID/stat over the measured seconds).
#
#   bench/idle_cpu.sh [QUILL [GAME]]     defaults: build/quill, build/demo
#   REFERENCE=other/quill bench/idle_cpu.sh   measures a second build in the same run, beside it
#   SECONDS_PER_STATE=N (default 5)
#
# States: the title screen (still), a page waiting for a click (the click-wait icon animating),
# the right-click menu open over that page, and the close question "ゲームを終了しますか？" (asked
# on a termination signal, as on the window's close box).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
quill="${1:-$root/build/quill}"
game="${2:-$root/build/demo}"
reference="${REFERENCE:-}"
measure_s="${SECONDS_PER_STATE:-5}"

if [ -z "${QUILL_BENCH_IN_X:-}" ]; then
  "$root/scripts/install-bench-deps.sh"
  for q in "$quill" $reference; do
    [ -x "$q" ] || { echo "idle_cpu: no program at $q" >&2; exit 2; }
  done
  [ -d "$game" ] || { echo "idle_cpu: no game at $game" >&2; exit 2; }
  export QUILL_BENCH_IN_X=1
  # One X server for every build measured, so they run on the same footing.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$quill" "$game"
fi

hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Prints the share of a core, in per cent, that process $1 uses over $measure_s seconds.
measure() {
  local before after
  before=$(cpu_ticks "$1")
  sleep "$measure_s"
  after=$(cpu_ticks "$1")
  awk -v t=$((after - before)) -v hz="$hz" -v s="$measure_s" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}

# Runs one build through the states; prints "state figure" lines.
run_one() {
  local q="$1" home pid win
  home=$(mktemp -d)
  mkdir -m 700 "$home/run"
  # A fresh player: no settings, no saves, a lock of its own.
  HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/run" SDL_AUDIODRIVER=dummy "$q" --game "$game" 2>"$home/stderr" &
  pid=$!
  win=""
  for _ in $(seq 50); do
    win=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.2
  done
  [ -n "$win" ] || { echo "idle_cpu: $q opened no window" >&2; cat "$home/stderr" >&2; exit 1; }
  # Window coordinates: the 800 × 600 screen sits under the 24-pixel toolbar.
  click() { xdotool mousemove --window "$win" "$1" $(($2 + 24)) click "$3"; }

  sleep 4  # the title's transition has ended; the title waits for a click
  echo "title $(measure "$pid")"
  click 400 300 1
  sleep 6  # the first page is typed out and waits with its icon
  echo "page $(measure "$pid")"
  click 400 300 3
  sleep 1
  echo "menu $(measure "$pid")"
  xdotool key --window "$win" Escape
  sleep 1
  kill -TERM "$pid"  # a close request: the close question opens
  sleep 1
  echo "close_question $(measure "$pid")"
  if [ -n "${SHOT_DIR:-}" ]; then import -window root "$SHOT_DIR/$(basename "$(dirname "$q")")-close.png"; fi
  kill -TERM "$pid"  # the second one ends the run unanswered
  wait "$pid" || true
  rm -rf "$home"
}

declare -A ours theirs
while read -r state figure; do ours[$state]=$figure; done < <(run_one "$quill")
if [ -n "$reference" ]; then
  while read -r state figure; do theirs[$state]=$figure; done < <(run_one "$reference")
fi

echo "Idle CPU, per cent of one core, over $measure_s s in each state (Xvfb, $(nproc) cores)"
if [ -n "$reference" ]; then
  printf '%-16s %10s %10s\n' state quill reference
else
  printf '%-16s %10s\n' state quill
fi
for state in title page menu close_question; do
  if [ -n "$reference" ]; then
    printf '%-16s %9s%% %9s%%\n' "$state" "${ours[$state]:-?}" "${theirs[$state]:-?}"
  else
    printf '%-16s %9s%%\n' "$state" "${ours[$state]:-?}"
  fi
done
