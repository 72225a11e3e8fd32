#!/usr/bin/env bash
# lint.sh - checks the C/C++ sources against .clang-format and .clang-tidy.
#
#   scripts/lint.sh [format|tidy]   both checks (default), or only one of them
#   BUILD=DIR                       the build whose compile_commands.json tidy
#                                   reads (default build/ci; made when missing)
#   JOBS=N                          clang-tidy processes in parallel (default: cores)
#   TIDY_SKIP=FOLDER/               a folder whose translation units tidy leaves out
#                                   (CI's quick stage: tests/); format still checks it
#
# format: clang-format --dry-run --Werror on every tracked .c/.cpp/.h/.hpp file.
# tidy:   clang-tidy on every translation unit of the Linux build; prints each
#         warning and a count per check.
# Needs clang-format and clang-tidy (Debian packages of the same names).
# Exit status: 0 clean, 1 a file is not formatted or clang-tidy warned,
# 2 bad usage or a missing tool or build.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

what=${1:-all}
case "$what" in
  all | format | tidy) ;;
  -h | --help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "usage: scripts/lint.sh [format|tidy]" >&2; exit 2 ;;
esac
build=${BUILD:-build/ci}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
status=0

need() {
  command -v "$1" >/dev/null 2>&1 || {
    echo "lint.sh: $1 not found; install it (Debian: apt-get install $2)" >&2
    exit 2
  }
}

if [ "$what" != tidy ]; then
  need clang-format clang-format
  mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h' '*.hpp')
  echo "== clang-format: ${#files[@]} files"
  if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "lint.sh: files above are not formatted; run: clang-format -i FILE..." >&2
    status=1
  fi
fi

if [ "$what" != format ]; then
  need clang-tidy clang-tidy
  need run-clang-tidy clang-tidy
  if [ ! -f "$build/compile_commands.json" ]; then
    if [ -z "${BUILD:-}" ]; then
      cmake --preset ci >/dev/null || exit 2
    fi
    [ -f "$build/compile_commands.json" ] || {
      echo "lint.sh: no $build/compile_commands.json; configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON" >&2
      exit 2
    }
  fi
  root=$(pwd | sed 's/[][\.*^$+?(){}|]/\\&/g')
  out=$(mktemp)
  trap 'rm -f "$out" "$out.w"' EXIT
  echo "== clang-tidy: the translation units of $build, $jobs in parallel"
  # Only the project's own sources (the regex matches compile_commands paths).
  skip=${TIDY_SKIP:+|$(printf '%s' "$TIDY_SKIP" | sed 's/[][\.*^$+?(){}|]/\\&/g')}
  [ -z "${TIDY_SKIP:-}" ] || echo "== clang-tidy leaves out $TIDY_SKIP"
  run-clang-tidy -quiet -p "$build" -j "$jobs" "^$root/(?!build/$skip)" >"$out" 2>&1
  rc=$?
  # One line per finding (a header's findings come once, not once per file
  # that includes it), without the colours run-clang-tidy asks for.
  # Findings in the third-party headers the build copies into its own folder
  # (stb) are not ours to fix.
  sed 's/\x1b\[[0-9;]*m//g' "$out" | grep -E '^[^ ].*: (warning|error): ' |
    grep -vE "^$root/build" | sort -u >"$out.w"
  if [ -s "$out.w" ]; then
    cat "$out.w"
    echo "-- warnings per check:"
    sed -E 's/.*\[([^]]+)\]$/\1/' "$out.w" | sort | uniq -c | sort -rn
    status=1
  elif [ "$rc" -ne 0 ]; then
    cat "$out"
    echo "lint.sh: clang-tidy failed (status $rc)" >&2
    status=1
  else
    echo "clang-tidy: no warnings"
  fi
fi
exit "$status"
