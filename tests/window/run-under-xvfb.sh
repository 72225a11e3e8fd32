#!/usr/bin/env bash
# run-under-xvfb.sh - runs one window test on a virtual display of its own.
#
#   run-under-xvfb.sh TEST.sh HOST POINTS PLUGIN
#
# TEST.sh is sourced after lib.sh inside xvfb-run. Exit status: the test's;
# 77 (skipped) when xvfb-run, xdotool or ImageMagick is missing.
set -euo pipefail
if [ -n "${WINDOW_TESTS_SKIP:-}" ]; then
  echo "SKIP: the window tests do not run in the $WINDOW_TESTS_SKIP"
  exit 77
fi
missing=()
for tool in xvfb-run xdotool import compare; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "SKIP: the window tests need ${missing[*]} (Debian: apt-get install xvfb xdotool imagemagick)"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
# A 24-bit screen, so that the window shows the panel's colours exactly.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$here/lib.sh" "$@"
