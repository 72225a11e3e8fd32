#!/usr/bin/env bash
# bench.sh - build vantorel-bench (Release, in build/bench) and run it.
#
#   scripts/bench.sh [FLAGS...]       host calls per event, then CPU time per event;
#                                     FLAGS go to Google Benchmark (--benchmark_filter=key, ...)
#   scripts/bench.sh --counts         only the host calls per event
#   scripts/bench.sh --callgrind [N]  instructions per event under valgrind (N steps a case, default 1000)
#   scripts/bench.sh --help           this text
#
# Exit status: 0 success, 1 a build or run failed, 2 bad usage.
set -euo pipefail

cd "$(dirname "$0")/.."

usage() { sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; }

build_dir=build/bench
bench=$build_dir/vantorel-bench
out=

build() {
  if ! cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >"$build_dir.configure.log" 2>&1; then
    cat "$build_dir.configure.log" >&2
    echo "bench.sh: configuring $build_dir failed" >&2
    exit 1
  fi
  if ! cmake --build "$build_dir" --target vantorel-bench -j 2 >"$build_dir.build.log" 2>&1; then
    cat "$build_dir.build.log" >&2
    echo "bench.sh: building vantorel-bench failed" >&2
    exit 1
  fi
  if [ ! -x "$bench" ]; then
    echo "bench.sh: $bench was not built (is Google Benchmark installed? apt-get install libbenchmark-dev)" >&2
    exit 1
  fi
}

callgrind() {
  local steps=$1 name per ir
  command -v valgrind >/dev/null || { echo "bench.sh: valgrind is not installed" >&2; exit 1; }
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
  echo "Instructions per step of each case ($steps steps a case; callgrind, deterministic)"
  printf '%-18s %12s %12s\n' case "instr/step" "events/step"
  while read -r name per; do
    if ! valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect='*countedSteps*' \
        "$bench" --events="$steps" --case="$name" >"$out/log" 2>&1; then
      cat "$out/log" >&2
      echo "bench.sh: callgrind run of $name failed" >&2
      exit 1
    fi
    ir=$(sed -n 's/^==[0-9]*== Collected : \([0-9]*\)$/\1/p' "$out/log")
    [ -n "$ir" ] || { echo "bench.sh: no instruction count for $name" >&2; exit 1; }
    printf '%-18s %12d %12d\n' "$name" $(( ir / steps )) "$per"
  done < <("$bench" --list-cases | awk '{ print $1, ($1 ~ /\+/ ? 2 : 1) }')
}

case "${1:-}" in
  -h|--help|help)
    usage
    ;;
  --counts)
    [ $# -eq 1 ] || { usage >&2; exit 2; }
    mkdir -p build
    build
    "$bench" --counts-only
    ;;
  --callgrind)
    steps=${2:-1000}
    [[ $steps =~ ^[1-9][0-9]*$ ]] && [ $# -le 2 ] || { usage >&2; exit 2; }
    mkdir -p build
    build
    callgrind "$steps"
    ;;
  *)
    mkdir -p build
    build
    exec "$bench" "$@"
    ;;
esac
