#!/usr/bin/env bash
# web-screenshot.sh - makes docs/web.png: the browser page (vantorel.html) in
# headless Chromium on the built-in scene, after one run (Key set to 80%,
# OK), with the panel open again and two lights selected, as a person sees it
# at zoom 1. The picture is reduced to 256 colours to keep it small.
#
#   scripts/web-screenshot.sh [WEB_BUILD] [LINUX_BUILD] [OUT.png]
#                             (default build/web, build/ci, docs/web.png)
#
# Needs the page (scripts/build.sh web), panel-points and the plug-in from the
# Linux build, node, playwright-core in tests/web (npm ci there), Chromium
# (/usr/bin/chromium, or CHROMIUM) and ImageMagick.
# Exit status: 0 written, 1 failed, 2 bad usage or something missing.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
[ $# -le 3 ] || { sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
web=${1:-build/web} build=${2:-build/ci} out=${3:-docs/web.png}
for f in "$web/vantorel.html" "$build/vantorel.p" "$build/tests/window/panel-points"; do
  [ -f "$f" ] || { echo "web-screenshot.sh: $f is missing; build first (scripts/build.sh web; cmake --build --preset ci)" >&2; exit 2; }
done
for tool in node convert; do
  command -v $tool >/dev/null || { echo "web-screenshot.sh: $tool is missing (apt-get install nodejs imagemagick)" >&2; exit 2; }
done
[ -d "$(dirname "$out")" ] || { echo "web-screenshot.sh: no folder for $out" >&2; exit 2; }
raw=$(mktemp --suffix=.png)
trap 'rm -f "$raw"' EXIT
node scripts/web-screenshot.mjs "$web/vantorel.html" "$build/tests/window/panel-points" "$build/vantorel.p" "$raw"
# No dithering: flat areas stay flat and text keeps its edges. -strip: no
# dates in the file, so the same page gives the same bytes.
convert "$raw" +dither -colors 256 -strip "PNG8:$out"
echo "wrote $out ($(wc -c <"$out" | tr -d ' ') bytes)"
