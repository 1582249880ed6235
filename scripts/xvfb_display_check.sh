#!/usr/bin/env bash
# Runs the real program on the demo game under a virtual X server (Xvfb),
# as a player would on a machine without a graphics accelerator.
#
#   xvfb_display_check.sh cpu  [window|full] [title|town|battle] [seconds]
#       processor time the program takes per second of play, and for each
#       thread its share and its voluntary wake-ups a second (battle: the
#       demo's battle test, troop 1)
#   xvfb_display_check.sh loss [window|full] [runs]
#       kills the X server while the game runs, and checks each time that
#       the program ends within 2 seconds with a non-zero status and no signal
#
# Needs Xvfb and xdotool (Debian: xvfb, xdotool) and a built build/varnow
# and build/mkdemo (scripts/build.sh build).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-cpu}"
screen="${2:-window}"
varnow="${VARNOW_BIN:-$root/build/varnow}"
demo="$(mktemp -d)"
trap 'rm -rf "$demo"' EXIT
"$root/build/mkdemo" "$demo" >/dev/null || exit 1

display_number=61
xvfb_pid=""
start_x() {
  Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    DISPLAY=":$display_number" xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

game_pid=""
start_game() {
  local args=()
  [ "$screen" = window ] && args=("" "" Window)
  if [ "${place:-}" = battle ]; then
    args=(BattleTest "" "")
    [ "$screen" = window ] && args=(BattleTest "" Window)
    args+=(1 0 0 0)
  fi
  (cd "$demo" && DISPLAY=":$display_number" SDL_AUDIODRIVER=dummy exec "$varnow" "${args[@]}") >/dev/null 2>"$demo/stderr" &
  game_pid=$!
  sleep 1.5
}

keys() {
  for k in "$@"; do
    DISPLAY=":$display_number" xdotool key --clearmodifiers "$k" 2>/dev/null
    sleep 0.4
  done
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# One line per thread: id, name, processor ticks, voluntary switches.
thread_snapshot() {
  for t in /proc/"$1"/task/*; do
    echo "$(basename "$t") $(tr ' ' _ <"$t/comm") $(awk '{print $14 + $15}' "$t/stat") $(awk '/^voluntary/{print $2}' "$t/status")"
  done | sort
}

case "$mode" in
cpu)
  place="${3:-title}"
  seconds="${4:-10}"
  start_x || exit 1
  start_game
  [ "$place" = town ] && keys Return Return Return
  sleep 1
  hz=$(getconf CLK_TCK)
  t0=$(cpu_ticks "$game_pid")
  thread_snapshot "$game_pid" >"$demo/threads0"
  sleep "$seconds"
  t1=$(cpu_ticks "$game_pid")
  thread_snapshot "$game_pid" >"$demo/threads1"
  kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$seconds" -v w="$screen" -v p="$place" \
    'BEGIN { printf "%s, %s: %.1f %% of a core (%.2f s of processor time in %d s)\n", w, p, 100 * d / hz / s, d / hz, s }'
  # Threads that lived through the whole measurement and did anything.
  join "$demo/threads0" "$demo/threads1" | awk -v hz="$hz" -v s="$seconds" \
    '$6 > $3 || $7 > $4 { printf "  thread %s %s: %.1f %% of a core, %.0f wake-ups/s\n", $1, $2, 100 * ($6 - $3) / hz / s, ($7 - $4) / s }'
  ;;
loss)
  runs="${3:-10}"
  ok=0
  for i in $(seq "$runs"); do
    start_x || exit 1
    start_game
    keys Return Return
    sleep 0.3
    kill -9 "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
    ended=""
    for _ in $(seq 20); do
      # Ended, or a zombie that this shell has not reaped yet.
      state=$(ps -o stat= -p "$game_pid" 2>/dev/null)
      if [ -z "$state" ] || [ "${state#Z}" != "$state" ]; then ended=1; break; fi
      sleep 0.1
    done
    if [ -z "$ended" ]; then
      echo "run $i: still running 2 s after the display went away" >&2
      # Where it is stuck, when asked (VARNOW_HANG_STACKS=1) and gdb is there.
      if [ -n "${VARNOW_HANG_STACKS:-}" ] && command -v gdb >/dev/null; then
        gdb -p "$game_pid" -batch -ex "thread apply all bt 15" 2>/dev/null | grep -E '^#|^Thread' >&2
      fi
      kill -9 "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null
      continue
    fi
    wait "$game_pid"; status=$?
    if [ "$status" -gt 128 ]; then
      echo "run $i: ended by signal $((status - 128))" >&2
    elif [ "$status" -eq 0 ]; then
      echo "run $i: ended with status 0" >&2
    else
      ok=$((ok + 1))
    fi
  done
  echo "$screen: $ok of $runs runs ended within 2 s with a non-zero status and no signal"
  [ "$ok" -eq "$runs" ]
  ;;
*)
  echo "usage: $0 cpu|loss ..." >&2
  exit 2
  ;;
esac
