#!/usr/bin/env bash
# fuzz.sh - builds the libFuzzer targets with clang in build/fuzz and runs one.
#
#   scripts/fuzz.sh session SECONDS     the plug-in on random scenes and sessions
#   scripts/fuzz.sh scenefile SECONDS   the scene-file reader
#
# New inputs go to build/fuzz/corpus-TARGET (the seed corpus in fuzz/corpus/
# TARGET is read, never written); a crash or a failed session check leaves
# crash-* files in build/fuzz and a non-zero status. Needs clang (CLANG=clang++-14
# by default) with its libFuzzer run-time.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-}
seconds=${2:-60}
case "$target" in
  session|scenefile) ;;
  *) echo "usage: scripts/fuzz.sh session|scenefile SECONDS" >&2; exit 2 ;;
esac
cxx=${CLANG:-clang++-14}
cc=${CLANG_C:-${cxx/clang++/clang}}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all -g -O1"
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_FUZZ=ON -DVANTOREL_TESTS=OFF \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build/fuzz -j "${JOBS:-2}" --target "fuzz_$target"
mkdir -p "build/fuzz/corpus-$target"
cd build/fuzz
./"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 \
  "corpus-$target" "../../fuzz/corpus/$target"
