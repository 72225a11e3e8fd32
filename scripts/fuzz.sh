#!/usr/bin/env bash
# fuzz.sh - builds the libFuzzer targets with clang in build/fuzz and runs one.
#
#   scripts/fuzz.sh session SECONDS       the plug-in on random scenes and sessions
#   scripts/fuzz.sh scenefile SECONDS     the scene-file reader
#   scripts/fuzz.sh --ci TARGET SECONDS   a short check: a fresh corpus grown from
#                                         fuzz/corpus/TARGET with a fixed seed; a
#                                         finding prints its input (hex and base64)
#   scripts/fuzz.sh --build               only build both targets
#
# Without --ci, new inputs go to build/fuzz/corpus-TARGET (the seed corpus in
# fuzz/corpus/TARGET is read, never written) and a finding leaves crash-* files
# in build/fuzz. libFuzzer's last lines give the speed (exec/s). Needs clang
# (CLANG=clang++-14 by default) with its libFuzzer run-time. FUZZ_FLAGS adds
# libFuzzer options, e.g. FUZZ_FLAGS="-runs=1000000" for a long run.
#
# Exit status: 0 nothing found, 1 a finding (crash, failed session check,
# timeout, leak) or a failed build, 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; }

ci=false
case "${1:-}" in
  -h|--help) usage; exit 0 ;;
  --ci) ci=true; shift ;;
  --build) ;;
esac
target=${1:-}
seconds=${2:-60}
case "$target" in
  session|scenefile|--build) ;;
  *) usage >&2; exit 2 ;;
esac
case "$seconds" in
  ''|*[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number, not \"$seconds\"" >&2; exit 2 ;;
esac

cxx=${CLANG:-clang++-14}
cc=${CLANG_C:-${cxx/clang++/clang}}
if ! command -v "$cxx" >/dev/null; then
  echo "fuzz.sh: $cxx not found; install clang and libclang-rt-14-dev (scripts/build.sh deps) or set CLANG" >&2
  exit 1
fi
# Coverage and comparison tracing only in the code under test: the plug-in
# (fuzz_session) and the scene-file reader (fuzz_scenefile). The simulated
# Layout, the validator and the targets' own code are built with the
# sanitizers but without coverage, so their loops neither steer the fuzzer nor
# cost a trace call at every comparison.
mkdir -p build/fuzz
{
  for folder in host model panel apply scenefile; do echo "src:$PWD/$folder/*"; done
  echo "fun:*"
} >build/fuzz/coverage-allowlist.txt
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all -g -O1"
flags="$flags -fsanitize-coverage-allowlist=$PWD/build/fuzz/coverage-allowlist.txt"
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_FUZZ=ON -DVANTOREL_TESTS=OFF \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
if [ "$target" = --build ]; then
  cmake --build build/fuzz -j "${JOBS:-2}" --target fuzz_session fuzz_scenefile
  exit 0
fi
cmake --build build/fuzz -j "${JOBS:-2}" --target "fuzz_$target"
seeds=$PWD/fuzz/corpus/$target

if ! $ci; then
  mkdir -p "build/fuzz/corpus-$target"
  cd build/fuzz
  # shellcheck disable=SC2086
  exec ./"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 ${FUZZ_FLAGS:-} \
    "corpus-$target" "$seeds"
fi

# --ci: nothing carried over from earlier runs, so every run starts alike.
work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/found"
status=0
# shellcheck disable=SC2086
build/fuzz/"fuzz_$target" -seed=1 -max_total_time="$seconds" -timeout=25 -print_final_stats=1 -max_len=8192 \
  ${FUZZ_FLAGS:-} -artifact_prefix="$work/found/" "$work/corpus" "$seeds" >"$work/log" 2>&1 || status=$?
found=("$work"/found/*)
if [ "$status" -eq 0 ] && [ ! -e "${found[0]}" ]; then
  grep -E '^(#[0-9]+ +DONE|Done |stat::)' "$work/log" || true
  echo "fuzz.sh: $target: nothing found in $seconds s"
  exit 0
fi
echo "fuzz.sh: $target: FINDING (libFuzzer exit status $status); libFuzzer's output follows" >&2
cat "$work/log" >&2
for f in "${found[@]}"; do
  [ -e "$f" ] || continue
  echo >&2
  echo "==== input $(basename "$f") ($(wc -c <"$f") bytes), hex:" >&2
  od -An -tx1 -v "$f" | tr -s ' ' >&2
  echo "==== the same input, base64 (save it with: base64 -d > input):" >&2
  base64 "$f" >&2
done
echo >&2
echo "fuzz.sh: replay an input with: scripts/fuzz.sh --build && build/fuzz/fuzz_$target INPUT" >&2
exit 1
