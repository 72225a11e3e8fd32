#!/usr/bin/env bash
# bench-scale.sh - time and peak memory of vantorel-host on big generated scenes.
#
#   scripts/bench-scale.sh                 10k, 20k, 40k and 80k lights: OK and save, with
#                                          the time ratio per doubling of the light count
#   scripts/bench-scale.sh --modes N       N lights: OK and save, OK without saving, Cancel
#   scripts/bench-scale.sh --near-limit    a scene just under the reader's 256 MiB limit:
#                                          OK and save, OK without saving, Cancel
#   scripts/bench-scale.sh --help          this text
#
# Scenes come from vantorel-genscene (LWSC 3, nine one-key motion envelopes a
# light) in a temporary folder; each saved scene must equal its input byte for
# byte. Uses the ci build (build/ci, or $BUILD_DIR), building what is missing.
# Figures come from /usr/bin/time -f '%e s %M KB'.
# Exit status: 0 success, 1 a build, run or comparison failed, 2 bad usage.
set -euo pipefail

cd "$(dirname "$0")/.."

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; }

build_dir=${BUILD_DIR:-build/ci}
host=$build_dir/vantorel-host
gen=$build_dir/vantorel-genscene

build() {
  [ -x /usr/bin/time ] || { echo "bench-scale.sh: /usr/bin/time is missing (apt-get install time)" >&2; exit 1; }
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset ci >/dev/null || { echo "bench-scale.sh: configuring $build_dir failed" >&2; exit 1; }
  fi
  cmake --build "$build_dir" --target vantorel-host vantorel-genscene vantorel_plugin -j 2 >/dev/null ||
    { echo "bench-scale.sh: building vantorel-host and vantorel-genscene failed" >&2; exit 1; }
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

work=
cleanup() { [ -z "$work" ] || rm -rf "$work"; }
trap cleanup EXIT

# run SCENE SCRIPT [SAVE]: prints "SECONDS KB"
run() {
  local scene=$1 script=$2 save=${3:-} args=()
  [ -z "$save" ] || args=(--save "$save")
  if ! /usr/bin/time -o "$work/time" -f '%e %M' "$host" --scene "$scene" --script - "${args[@]}" \
      <<<"$script" >"$work/stdout" 2>"$work/stderr"; then
    cat "$work/stderr" >&2
    echo "bench-scale.sh: vantorel-host failed on $scene" >&2
    exit 1
  fi
  tail -n 1 "$work/time"
}

generate() {  # generate LIGHTS FILE [MAXBYTES]
  local extra=()
  [ -z "${3:-}" ] || extra=(--max-bytes "$3")
  "$gen" "$1" "${extra[@]}" -o "$2" 2>"$work/gen" || { cat "$work/gen" >&2; exit 1; }
  cut -d' ' -f1 "$work/gen"
}

modes() {  # modes FILE: OK and save, OK without saving, Cancel
  local scene=$1 size t m
  size=$(stat -c %s "$scene")
  printf '%-18s %10s %12s %8s\n' run time "peak KB" "x file"
  read -r t m < <(run "$scene" ok "$work/out.lws")
  cmp -s "$scene" "$work/out.lws" || { echo "bench-scale.sh: the saved scene differs from $scene" >&2; exit 1; }
  rm -f "$work/out.lws"
  printf '%-18s %8s s %12s %8.2f\n' "ok + save" "$t" "$m" "$(ratio $((m * 1024)) "$size")"
  read -r t m < <(run "$scene" ok)
  printf '%-18s %8s s %12s %8.2f\n' "ok, no save" "$t" "$m" "$(ratio $((m * 1024)) "$size")"
  read -r t m < <(run "$scene" cancel)
  printf '%-18s %8s s %12s %8.2f\n' "cancel" "$t" "$m" "$(ratio $((m * 1024)) "$size")"
}

case "${1:-}" in
  -h|--help|help)
    usage
    ;;
  "")
    build
    work=$(mktemp -d)
    printf '%-8s %12s %10s %12s %8s %10s\n' lights "file bytes" "ok + save" "peak KB" "x file" "time x2"
    prev=
    for n in 10000 20000 40000 80000; do
      generate "$n" "$work/scene.lws" >/dev/null
      size=$(stat -c %s "$work/scene.lws")
      read -r t m < <(run "$work/scene.lws" ok "$work/out.lws")
      cmp -s "$work/scene.lws" "$work/out.lws" || { echo "bench-scale.sh: the saved $n-light scene differs" >&2; exit 1; }
      ratio=-
      [ -z "$prev" ] || ratio=$(printf '%.2f' "$(ratio "$t" "$prev")")
      printf '%-8s %12s %8s s %12s %8.2f %10s\n' "$n" "$size" "$t" "$m" "$(ratio $((m * 1024)) "$size")" "$ratio"
      prev=$t
      rm -f "$work/out.lws" "$work/scene.lws"
    done
    ;;
  --modes)
    [[ ${2:-} =~ ^[1-9][0-9]*$ ]] && [ $# -eq 2 ] || { usage >&2; exit 2; }
    build
    work=$(mktemp -d)
    generate "$2" "$work/scene.lws" >/dev/null
    echo "$2 lights, $(stat -c %s "$work/scene.lws") bytes"
    modes "$work/scene.lws"
    ;;
  --near-limit)
    [ $# -eq 1 ] || { usage >&2; exit 2; }
    build
    work=$(mktemp -d)
    n=$(generate 1000000 "$work/scene.lws" 268435456)
    echo "$n lights, $(stat -c %s "$work/scene.lws") bytes (the limit is 268435456)"
    modes "$work/scene.lws"
    ;;
  *)
    usage >&2
    exit 2
    ;;
esac
