#!/usr/bin/env bash
# valgrind.sh - the test suite under valgrind memcheck, on an unsanitized
# build in build/valgrind (valgrind and AddressSanitizer do not mix).
#
#   scripts/valgrind.sh [CTEST-ARGS...]     e.g. scripts/valgrind.sh -R Plugin
#
# Every test binary runs under memcheck through ctest -T memcheck; any error
# (invalid access, use of uninitialised values, definite leak) fails the run.
# Also validates the plug-in (its probe build) under memcheck with a small run
# count.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S . -B build/valgrind -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_MEMCHECK=ON \
  -DMEMORYCHECK_COMMAND="$(command -v valgrind)" \
  -DMEMORYCHECK_COMMAND_OPTIONS="--error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite --track-origins=yes" \
  >/dev/null
cmake --build build/valgrind -j "$jobs"
ctest --test-dir build/valgrind -T memcheck -j "$jobs" --output-on-failure "$@"
# ctest -T memcheck records defects without failing; the log folder tells.
if grep -l "ERROR SUMMARY: [1-9]" build/valgrind/Testing/Temporary/MemoryChecker.*.log 2>/dev/null; then
  echo "valgrind: memcheck reported errors in the logs above" >&2
  exit 1
fi
valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
  build/valgrind/vantorel-host --validate --plugin build/valgrind/vantorel_probe.p --seed 1 --runs 20
echo "valgrind: no memcheck errors"
