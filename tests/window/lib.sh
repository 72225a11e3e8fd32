#!/usr/bin/env bash
# lib.sh - helpers for the window tests, run by run-under-xvfb.sh on a virtual
# display: starts vantorel-host --window, finds its window, clicks and types
# with xdotool at the places panel-points reports, and compares with what a
# session script gives. Then sources the test given as the first argument.
set -euo pipefail
test_file=$1 HOST=$2 POINTS=$3 PLUGIN=$4
SRC=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
host_pid=
cleanup() {
  if [ -n "$host_pid" ] && kill -0 "$host_pid" 2>/dev/null; then kill "$host_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
# The sanitized build: the X and SDL libraries keep a few allocations until exit.
export LSAN_OPTIONS="suppressions=$SRC/tests/window/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

fail() { echo "FAIL: $*" >&2; [ -f "$work/err" ] && { echo "--- host stderr:" >&2; cat "$work/err" >&2; }; exit 1; }

declare -A P
# load_points [--lights N | --scene FILE]: the places of the panel on that scene.
load_points() {
  local name x y
  P=()
  while read -r name x y; do P[$name]="$x $y"; done < <("$POINTS" "$PLUGIN" "$@")
  [ -n "${P[ok]:-}" ] || fail "panel-points printed no places"
}

# start_host ARGS...: vantorel-host --window --zoom 1 ARGS, stdout and stderr
# to $work/out and $work/err; waits for its window (title: TITLE, default the
# panel's) and gives it the keyboard.
title='^Vantorel for 6\.5'
start_host() {
  "$HOST" --plugin "$PLUGIN" --window --zoom 1 "$@" >"$work/out" 2>"$work/err" &
  host_pid=$!
  wait_window "$title"
}
wait_window() {
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
  [ -n "$wid" ] || fail "no window titled $1 appeared within 20 s"
  # The first frame is on screen (the title bar's colour at its top left):
  # from then on the window waits for input.
  local i px=
  for ((i = 0; i < 200; i++)); do
    # import waits for a click on a window to capture when the id is no longer
    # valid: never more than a few seconds.
    px=$(timeout 5 import -window "$wid" -crop 1x1+2+2 -depth 8 txt:- 2>/dev/null | tail -n 1) || true
    case $px in *"(64,72,96)"*) break ;; esac
    sleep 0.02
  done
  case $px in *"(64,72,96)"*) ;; *) fail "the window $1 shows no title bar: $px" ;; esac
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
}

# Pointer and keys, at the places of panel-points (picture pixels = window
# pixels at zoom 1). Offsets: "at NAME DX DY".
at() {
  local p=${P[$1]:-}
  [ -n "$p" ] || fail "no place called $1 (panel-points)"
  set -- $p "${2:-0}" "${3:-0}"
  xdotool mousemove --window "$wid" --sync $(($1 + $3)) $(($2 + $4))
}
click() { at "$@"; xdotool click 1; }
keys() { xdotool key --delay 5 "$@"; }
typed() { xdotool type --delay 5 "$1"; }

# wait_runs N: the host has ended N runs of the plug-in (its "result:" lines on
# stderr), so their panels are closed and the host waits for input again.
wait_runs() {
  local i
  for ((i = 0; i < 400; i++)); do
    [ "$(grep -c '^result: ' "$work/err" 2>/dev/null)" -ge "$1" ] && return 0
    sleep 0.05
  done
  fail "the host did not end run $1 of the plug-in within 20 s"
}

# wait_exit: the host ends by itself (after OK, Cancel or Quit) within 20 s.
wait_exit() {
  local i
  for ((i = 0; i < 400; i++)); do
    kill -0 "$host_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$host_pid" 2>/dev/null && fail "vantorel-host did not end"
  set +e
  wait "$host_pid"
  host_status=$?
  set -e
  host_pid=
}

# script_run FILE.vts ARGS...: the same session as a script, into $work/script.out.
script_run() {
  local script=$1
  shift
  "$HOST" --plugin "$PLUGIN" --script "$script" "$@" >"$work/script.out" 2>"$work/script.err" ||
    { cat "$work/script.err" >&2; fail "the script run failed"; }
}

same_files() { cmp -s "$1" "$2" || { diff "$1" "$2" >&2 || true; fail "$3"; }; }

# The window's panel against a picture: polls until the screenshot (panel part)
# equals it, so that no fixed wait is needed; 0 differing pixels.
screen_equals() {
  local want=$1 w h i diff=
  read -r w h <<<"${P[size]}"
  for ((i = 0; i < 100; i++)); do
    import -window "$wid" -crop "${w}x${h}+0+0" +repage "$work/shot.png" 2>/dev/null || true
    diff=$(compare -metric AE "$work/shot.png" "$want" null: 2>&1) && [ "$diff" = 0 ] && return 0
    sleep 0.05
  done
  cp "$work/shot.png" "${KEEP_SHOT:-/dev/null}" 2>/dev/null || true
  fail "the window's panel differs from $want in $diff pixels"
}

cd "$work"
. "$test_file"
echo "PASS"
