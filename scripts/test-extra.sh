#!/usr/bin/env bash
# test-extra.sh - the checks that follow the main Linux test suite in CI
# (scripts/build.sh test runs it when present). Each stage is a section of its
# own; a failing stage stops the script with a non-zero status.
#
#   scripts/test-extra.sh            every stage
#   VALIDATE_SEED=N VALIDATE_RUNS=N  override the validator's fixed seed and runs
#   FUZZ_SECONDS=N                   how long each fuzzer runs (default 60)
#
# Needs the Linux build in build/ci (scripts/build.sh test makes it first, and
# the page in build/web).
# Runs from the repository root in a few minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
seed=${VALIDATE_SEED:-20240601}
runs=${VALIDATE_RUNS:-200}
start=$(date +%s)

section() { echo; echo "==== $1 ($(( $(date +%s) - start )) s)"; }

# ---- Lint: the layout of every C/C++ file, and clang-tidy with no finding --
section "lint: clang-format and clang-tidy (build/ci's compile commands)"
# The tests' own code is left to scripts/lint.sh run by hand: the sanitizers
# run it, and clang-tidy on it would cost CI several minutes.
BUILD=build/ci JOBS="$jobs" TIDY_SKIP=tests/ scripts/lint.sh

# ---- Sanitizers: the whole suite under AddressSanitizer and UBSan ----------
section "asan: build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

section "asan: test suite"
ctest --preset asan -j "$jobs"

# ---- Validator: the sanitized plug-in (its probe build, so that every check
# of its record is made) and host, fixed seed ------------------------------
section "validator (asan build): seed $seed, $runs random sessions"
build/asan/vantorel-host --validate --plugin build/asan/vantorel_probe.p --seed "$seed" --runs "$runs"

# ---- Windows: vantorel.p as a 32-bit DLL, every session test under Wine ----
# The cross build first; then the checks, whose Wine runs wait on Wine more
# than on a core, go on beside the stages below and are reported at the end.
section "windows: cross build"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
section "windows: DLL checks and session tests under Wine, beside the stages below"
windows_log=build/mingw/windows-checks.log
tests/windows/run-windows-checks.sh build/ci >"$windows_log" 2>&1 &
windows_pid=$!
trap 'kill "$windows_pid" 2>/dev/null || true' EXIT

# ---- Release archives: made, unpacked and checked, built again and compared -
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' build/ci/CMakeCache.txt)
section "packages: the page in build/web (built already by scripts/build.sh test)"
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs" >/dev/null
section "packages: scripts/package.sh from build/ci, build/mingw and build/web into dist/"
scripts/package.sh build/ci build/mingw dist build/web
section "packages: unpacked and checked (the zip's programs under Wine)"
# A Wine prefix of its own: the Wine suite is using its prefix meanwhile.
(
  . tests/windows/wine-env.sh
  if command -v wine >/dev/null 2>&1 && WINEDEBUG=-all wine --version >/dev/null 2>&1; then
    use_wine_prefix "$PWD/build/mingw/package-wine/prefix" "$PWD/build/mingw/package-wine.log" ||
      { echo "test-extra: wineboot --init failed; see build/mingw/package-wine.log" >&2; exit 1; }
  fi
  tests/package/check-packages.sh dist "$version"
)
section "packages: the programs and the page built again in build/repro, packaged, compared byte for byte"
tests/package/rebuild-and-compare.sh dist build/repro

# ---- Fuzzers: each for a short fixed time from the committed corpus ----------
fuzz_seconds=${FUZZ_SECONDS:-60}
section "fuzz: build (clang, ASan + UBSan + libFuzzer)"
scripts/fuzz.sh --build
for t in scenefile session; do
  section "fuzz: $t, $fuzz_seconds s from fuzz/corpus/$t"
  scripts/fuzz.sh --ci "$t" "$fuzz_seconds"
done

section "windows: DLL checks and session tests under Wine (run beside the stages above)"
windows_status=0
wait "$windows_pid" || windows_status=$?
cat "$windows_log"
if [ "$windows_status" -ne 0 ]; then
  echo "test-extra: the Windows checks failed (status $windows_status; see above)" >&2
  exit 1
fi

section "done"
echo "test-extra: all stages passed in $(( $(date +%s) - start )) s"
