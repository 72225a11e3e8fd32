#!/usr/bin/env bash
# window-bench.sh - the window's figures, on a virtual display (xvfb-run):
#   1. CPU time from an input event (list click, type-to-select key, drag step)
#      to the presented frame, 510 lights, zoom 2 (vantorel-window-bench);
#   2. what vantorel-host --window costs while it sits idle for 10 seconds:
#      CPU time and the number of times the process was woken (context switches).
#
#   scripts/window-bench.sh [--events N] [--idle SECONDS] [--build DIR]
#
# Builds a Release tree in build/bench, or uses the built tree DIR as it is. Needs libsdl2-dev, xvfb and xdotool.
# Exit status: 0 success, 1 a build or run failed, 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."

events=300 idle=10 build_dir=
while [ $# -gt 0 ]; do
  case $1 in
    --events) events=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --build) build_dir=$2; shift 2 ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "window-bench.sh: unknown argument '$1'; see --help" >&2; exit 2 ;;
  esac
done
for tool in xvfb-run xdotool; do
  command -v $tool >/dev/null || { echo "window-bench.sh: $tool is missing (apt-get install xvfb xdotool)" >&2; exit 1; }
done

if [ -z "$build_dir" ]; then
build_dir=build/bench
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >"$build_dir.configure.log" 2>&1 ||
  { cat "$build_dir.configure.log" >&2; exit 1; }
cmake --build "$build_dir" --target vantorel-window-bench vantorel-host -j 2 >"$build_dir.build.log" 2>&1 ||
  { cat "$build_dir.build.log" >&2; exit 1; }
fi
[ -x "$build_dir/vantorel-window-bench" ] ||
  { echo "window-bench.sh: no vantorel-window-bench (is libsdl2-dev installed?)" >&2; exit 1; }

screen='-screen 0 1920x1080x24 -nolisten tcp'
echo "== input event to presented frame"
xvfb-run -a -s "$screen" "$build_dir/vantorel-window-bench" --events "$events"

echo "== idle: vantorel-host --window --lights 510 --zoom 2, ${idle} s untouched"
xvfb-run -a -s "$screen" bash -c '
  host=$1 idle=$2
  "$host" --window --lights 510 --zoom 2 >/dev/null 2>&1 &
  pid=$!
  xdotool search --sync --onlyvisible --name "^Vantorel" >/dev/null
  sleep 1  # let the first frame settle
  ticks=$(getconf CLK_TCK)
  read_stats() {
    cpu=$(awk "{print \$14 + \$15}" /proc/$pid/stat)
    sw=$(cat /proc/$pid/task/*/status | awk "/^(voluntary|nonvoluntary)_ctxt_switches/ {n += \$2} END {print n}")
    threads=$(ls /proc/$pid/task | wc -l)
  }
  read_stats; cpu0=$cpu sw0=$sw
  sleep "$idle"
  read_stats
  echo "CPU time while idle: $(( (cpu - cpu0) * 1000 / ticks )) ms in $idle s"
  echo "wakeups (context switches, all $threads threads) while idle: $(( sw - sw0 )) in $idle s"
  kill $pid
' _ "$build_dir/vantorel-host" "$idle"
