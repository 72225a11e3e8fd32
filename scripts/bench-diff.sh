#!/usr/bin/env bash
# bench-diff.sh - time and peak memory of vantorel-host --diff on a big generated scene.
#
#   scripts/bench-diff.sh [LIGHTS]     LIGHTS lights (default 11500, about 10 MB):
#                                      every light the panel lists (the first 510)
#                                      edited, saved with --save and shown with --diff;
#                                      the diff, applied with patch, must give the
#                                      saved bytes. Also an OK without an edit. Then
#                                      the diff alone (vantorel-diffbench): of that
#                                      save, and of a copy with every light's
#                                      intensity line changed, spread over the file.
#   scripts/bench-diff.sh --help       this text
#
# The scene comes from vantorel-genscene (LWSC 3) in a temporary folder. Uses
# the ci build (build/ci, or $BUILD_DIR), building what is missing. Figures
# come from /usr/bin/time -f '%e %M'; the difference between a --diff run and
# a --save run of the same session is what the diff costs.
# Exit status: 0 success, 1 a build, run or comparison failed, 2 bad usage.
set -euo pipefail

cd "$(dirname "$0")/.."

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }
case "${1:-}" in
  -h|--help|help) usage; exit 0 ;;
esac
lights=${1:-11500}
[[ $lights =~ ^[1-9][0-9]*$ ]] && [ $# -le 1 ] || { usage >&2; exit 2; }

build_dir=${BUILD_DIR:-build/ci}
host=$build_dir/vantorel-host
gen=$build_dir/vantorel-genscene
for tool in /usr/bin/time patch; do
  command -v "$tool" >/dev/null || { echo "bench-diff.sh: $tool is missing" >&2; exit 1; }
done
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset ci >/dev/null || { echo "bench-diff.sh: configuring $build_dir failed" >&2; exit 1; }
fi
cmake --build "$build_dir" --target vantorel-host vantorel-genscene vantorel-diffbench vantorel_plugin -j 2 \
  >/dev/null || { echo "bench-diff.sh: building vantorel-host and vantorel-genscene failed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" "$lights" -o "$work/scene.lws" 2>"$work/gen" || { cat "$work/gen" >&2; exit 1; }
# Every listed light: its name starts with "L".
printf 'type L\nintensity 50\ncolor 10 200 30\nok\n' >"$work/edit.vts"
printf 'ok\n' >"$work/ok.vts"

run() {  # run SCRIPT ARGS...: prints "SECONDS KB"; stdout to $work/stdout
  local script=$1
  shift
  if ! /usr/bin/time -o "$work/time" -f '%e %M' "$host" --scene "$work/scene.lws" --script "$script" "$@" \
      >"$work/stdout" 2>"$work/stderr"; then
    cat "$work/stderr" >&2
    echo "bench-diff.sh: vantorel-host failed" >&2
    exit 1
  fi
  tail -n 1 "$work/time"
}
row() { printf '%-24s %8s s %12s\n' "$1" "$2" "$3"; }

echo "$(cut -d' ' -f1 "$work/gen") lights, $(stat -c %s "$work/scene.lws") bytes"
printf '%-24s %10s %12s\n' run time "peak KB"
read -r t m < <(run "$work/edit.vts" --save "$work/saved.lws")
row "510 edited, --save" "$t" "$m"
read -r t m < <(run "$work/edit.vts" --diff)
row "510 edited, --diff" "$t" "$m"
cp "$work/stdout" "$work/edit.diff"
grep '^diff: ' "$work/stderr" | sed 's/ against .*//'
cp "$work/scene.lws" "$work/patched.lws"
patch -s "$work/patched.lws" <"$work/edit.diff" || { echo "bench-diff.sh: patch refused the diff" >&2; exit 1; }
cmp -s "$work/patched.lws" "$work/saved.lws" ||
  { echo "bench-diff.sh: the patched scene differs from the saved one" >&2; exit 1; }
read -r t m < <(run "$work/ok.vts" --save "$work/ok.lws")
row "no edit, --save" "$t" "$m"
read -r t m < <(run "$work/ok.vts" --diff)
row "no edit, --diff" "$t" "$m"
[ ! -s "$work/stdout" ] || { echo "bench-diff.sh: a diff although nothing was edited" >&2; exit 1; }

# The diff alone, fastest of five runs.
bench=$build_dir/vantorel-diffbench
echo "the diff alone (vantorel-diffbench, fastest of 5):"
echo "  510 edited lights:  $("$bench" "$work/scene.lws" "$work/saved.lws")"
sed 's/^LightIntensity .*/LightIntensity 0.5/' "$work/scene.lws" >"$work/spread.lws"
out=$("$bench" "$work/scene.lws" "$work/spread.lws" 5 --out "$work/spread.diff")
echo "  every light edited: $out"
cp "$work/scene.lws" "$work/patched.lws"
patch -s "$work/patched.lws" <"$work/spread.diff" || { echo "bench-diff.sh: patch refused the diff" >&2; exit 1; }
cmp -s "$work/patched.lws" "$work/spread.lws" ||
  { echo "bench-diff.sh: the patched scene differs from the edited copy" >&2; exit 1; }
