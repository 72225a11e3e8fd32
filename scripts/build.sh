#!/usr/bin/env bash
# build.sh - set up, build and run Vantorel on a Debian machine.
#
#   scripts/build.sh demo [ARGS...]  install what is missing, build, run vantorel-host
#   scripts/build.sh test            install what is missing, build everything, run every test
#   scripts/build.sh deps            only install the packages: build, tests, fuzzing, valgrind
#   scripts/build.sh package         build the release archives into dist/ (scripts/package.sh)
#
# Exit status: 0 success, 1 a build or test failed, 2 bad usage.
set -euo pipefail

cd "$(dirname "$0")/.."

usage() { sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; }

linux_packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libstb-dev nlohmann-json3-dev libsdl2-dev)
# The window tests: a virtual display, X input, screenshots (tests/window/).
window_test_packages=(xvfb xdotool imagemagick)
windows_packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386)
# The man page is made at build time.
linux_packages+=(help2man)
# The release archives and their checks (scripts/package.sh, tests/package/).
package_packages=(zip unzip git)
# Only for scripts/fuzz.sh and scripts/valgrind.sh.
tool_packages=(clang libclang-rt-14-dev valgrind)
# The test command's lint stage (scripts/lint.sh).
lint_packages=(clang-format clang-tidy)
# The test command's fuzz stage (scripts/test-extra.sh runs scripts/fuzz.sh --ci).
fuzz_packages=(clang libclang-rt-14-dev)

install_packages() {
  local p need=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
  done
  [ "${#need[@]}" -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "build.sh: missing packages: ${need[*]}; install them (as root: apt-get install ${need[*]})" >&2
    exit 1
  fi
  if printf '%s\n' "${need[@]}" | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  echo "build.sh: installing ${need[*]}" >&2
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
}

jobs=$(nproc 2>/dev/null || echo 2)

build_linux() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
}

case "${1:-}" in
  demo)
    shift
    install_packages "${linux_packages[@]}"
    build_linux dev >/dev/null
    exec build/dev/vantorel-host "$@"
    ;;
  test)
    install_packages "${linux_packages[@]}" "${windows_packages[@]}" "${package_packages[@]}" "${window_test_packages[@]}"
    install_packages "${fuzz_packages[@]}" "${lint_packages[@]}"
    build_linux ci
    ctest --preset ci -j "$jobs"
    if [ -f scripts/test-extra.sh ]; then
      bash scripts/test-extra.sh
    fi
    ;;
  deps)
    install_packages "${linux_packages[@]}" "${windows_packages[@]}" "${tool_packages[@]}" "${package_packages[@]}" "${window_test_packages[@]}" "${lint_packages[@]}"
    ;;
  package)
    # The same builds as CI's (build/ci, build/mingw), only the packaged targets.
    install_packages "${linux_packages[@]}" "${windows_packages[@]}" "${package_packages[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j "$jobs" --target vantorel-host vantorel_plugin vantorel_manpage
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw -j "$jobs" --target vantorel-host vantorel_plugin
    scripts/package.sh build/ci build/mingw dist
    ;;
  -h|--help|help)
    usage
    ;;
  *)
    usage >&2
    exit 2
    ;;
esac
