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
#   xvfb_display_check.sh box
#       an error box open (a damaged database), then SIGTERM, SIGINT and
#       SIGHUP in turn: the program and its box end within 3 seconds, with
#       the error's status 1
#   xvfb_display_check.sh altenter
#       on the title with the cursor on "Quit": Alt down, Enter down, Alt up,
#       Enter up toggles full screen and must not choose "Quit"
#
# Needs Xvfb and xdotool (Debian: xvfb, xdotool; scripts/deps.sh installs
# them) and a built varnow and mkdemo in build/ or in $VARNOW_BUILD_DIR.
# The checks (box, altenter) exit 77 when Xvfb or xdotool is missing, which
# the test suite counts as skipped.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-cpu}"
screen="${2:-window}"
build="${VARNOW_BUILD_DIR:-$root/build}"
varnow="${VARNOW_BIN:-$build/varnow}"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool is missing (Debian: xvfb, xdotool)" >&2
  exit 77
fi
demo="$(mktemp -d)"
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$demo"' EXIT
"$build/mkdemo" "$demo" >/dev/null || exit 1

# The server picks a free display number, so that checks can run side by
# side.
display_number=""
start_x() {
  local fifo="$demo/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  display_number=""
  read -r -t 10 display_number <"$fifo"
  if [ -n "$display_number" ]; then
    for _ in $(seq 50); do
      DISPLAY=":$display_number" xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      sleep 0.1
    done
  fi
  echo "Xvfb did not start" >&2
  return 1
}

stop_x() {
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

game_pid=""
start_game() {
  local args=()
  [ "$screen" = window ] && args=("" "" Window)
  [ "${place:-}" = testplay ] && args=(TestPlay "" Window)
  if [ "${place:-}" = battle ]; then
    args=(BattleTest "" "")
    [ "$screen" = window ] && args=(BattleTest "" Window)
    args+=(1 0 0 0)
  fi
  # The X driver by name: the test suite sets SDL_VIDEODRIVER=dummy.
  (cd "$demo" && DISPLAY=":$display_number" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" exec "$varnow" "${args[@]}") >/dev/null 2>"$demo/stderr" &
  game_pid=$!
  sleep 1.5
}

# Has the program ended (or is it a zombie that this shell has not reaped
# yet)? Waits up to $1 tenths of a second.
ended_within() {
  for _ in $(seq "$1"); do
    local state
    state=$(ps -o stat= -p "$game_pid" 2>/dev/null)
    if [ -z "$state" ] || [ "${state#Z}" != "$state" ]; then return 0; fi
    sleep 0.1
  done
  return 1
}

keys() {
  for k in "$@"; do
    DISPLAY=":$display_number" xdotool key --clearmodifiers "$k" 2>/dev/null
    sleep 0.4
  done
}

# Keys held for 0.15 s each, as a player presses them (the
# menus move on a key held into a frame, not on a tap within one).
press() {
  for k in "$@"; do
    DISPLAY=":$display_number" xdotool keydown "$k"; sleep 0.15
    DISPLAY=":$display_number" xdotool keyup "$k"; sleep 0.3
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
  stop_x
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
    xvfb_pid=""
    if ! ended_within 20; then
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
box)
  # The database cut short: the game's read error, in a box, in a window.
  head -c 100 "$demo/Varnow.ldb" >"$demo/short" && mv "$demo/short" "$demo/Varnow.ldb"
  screen=window
  start_x || exit 1
  failed=0
  for signal in TERM INT HUP; do
    start_game
    for _ in $(seq 50); do
      grep -q "^The Lantern of Varrow: " "$demo/stderr" 2>/dev/null && break
      sleep 0.1
    done
    box=""
    for _ in $(seq 50); do
      box=$(pgrep -P "$game_pid")
      [ -n "$box" ] && break
      sleep 0.1
    done
    sleep 0.5
    if ! grep -q "^The Lantern of Varrow: " "$demo/stderr" || ended_within 1; then
      echo "SIG$signal: no error box came up" >&2; cat "$demo/stderr" >&2
      failed=1; kill -9 "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null; continue
    fi
    kill -s "$signal" "$game_pid"
    if ! ended_within 30; then
      echo "SIG$signal: the program still runs 3 s after the signal, its box open" >&2
      failed=1; kill -9 "$game_pid" $box 2>/dev/null; wait "$game_pid" 2>/dev/null; continue
    fi
    wait "$game_pid"; status=$?
    if [ "$status" -ne 1 ]; then
      echo "SIG$signal: ended with status $status, not the error's 1" >&2; failed=1
    fi
    if [ -n "$box" ] && kill -0 $box 2>/dev/null; then
      echo "SIG$signal: the box outlived the program" >&2; failed=1; kill -9 $box 2>/dev/null
    fi
  done
  stop_x
  [ "$failed" -eq 0 ] && echo "an open error box ends on SIGTERM, SIGINT and SIGHUP with status 1"
  exit "$failed"
  ;;
altenter)
  screen=window
  place=testplay  # no logo before the title
  start_x || exit 1
  start_game
  sleep 4  # the title's fade, with room for a busy machine
  # The title's commands: New Game, Continue (no saves), Quit.
  press Down Down
  DISPLAY=":$display_number" xdotool keydown alt; sleep 0.3
  DISPLAY=":$display_number" xdotool keydown Return; sleep 0.3
  DISPLAY=":$display_number" xdotool keyup alt; sleep 0.3
  DISPLAY=":$display_number" xdotool keyup Return; sleep 1
  failed=0
  if ended_within 10; then
    echo "the Enter of Alt+Enter reached the title: it chose Quit" >&2; failed=1
  else
    # Still on "Quit": a plain Enter now ends the program, as it should.
    press Return
    if ! ended_within 60; then
      echo "Enter after Alt+Enter did not choose Quit" >&2; failed=1
    fi
  fi
  kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null
  stop_x
  [ "$failed" -eq 0 ] && echo "Alt+Enter toggles the screen without an Enter for the game"
  exit "$failed"
  ;;
*)
  echo "usage: $0 cpu|loss|box|altenter ..." >&2
  exit 2
  ;;
esac
