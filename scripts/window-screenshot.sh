#!/usr/bin/env bash
# window-screenshot.sh - makes docs/window.png: vantorel-host --window on the
# built-in scene under a virtual display, two lights selected and the
# Intensity field being edited (caret and status line showing), as a person
# would see it.
#
#   scripts/window-screenshot.sh [BUILD_DIR] [OUT.png]   (default build/ci, docs/window.png)
#
# Needs a build with --window (libsdl2-dev), xvfb, xdotool and imagemagick.
# Exit status: 0 written, 1 failed, 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
build=${1:-build/ci} out=${2:-docs/window.png}
for f in "$build/vantorel-host" "$build/vantorel.p" "$build/tests/window/panel-points"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "window-screenshot.sh: $f is missing; build first" >&2; exit 2; }
done
for tool in xvfb-run xdotool import; do
  command -v $tool >/dev/null || { echo "window-screenshot.sh: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done
out=$(realpath -m "$out")
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  set -euo pipefail
  build=$1 out=$2
  declare -A P
  while read -r n x y; do P[$n]="$x $y"; done < <("$build/tests/window/panel-points" "$build/vantorel.p")
  "$build/vantorel-host" --window --zoom 1 >/dev/null 2>&1 &
  pid=$!
  wid=$(xdotool search --sync --onlyvisible --name "^Vantorel for 6" | head -n 1)
  xdotool windowfocus --sync "$wid"
  click() { set -- ${P[$1]}; xdotool mousemove --window "$wid" --sync "$1" "$2" click 1; }
  click row:Key
  click row:Spot_Left
  click lighttype.2
  click Intensity
  xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace
  xdotool type 80
  sleep 0.5  # the last keys reach the window; nothing to poll for in a picture
  import -window "$wid" "$out"
  kill $pid
' _ "$build" "$out"
echo "wrote $out"
