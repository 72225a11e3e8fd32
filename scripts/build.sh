#!/usr/bin/env bash
# build.sh - set up, build and run Vantorel on a Debian machine.
#
#   scripts/build.sh demo [ARGS...]  install what is missing, build, run vantorel-host
#   scripts/build.sh test            install what is missing, build everything, run every test
#   scripts/build.sh web             install what is missing, build the browser page, print its path
#   scripts/build.sh deps            only install the packages: build, tests, fuzzing, valgrind
#   scripts/build.sh package         build the release archives and the page into dist/ (scripts/package.sh)
#
# Exit status: 0 success, 1 a build or test failed, 2 bad usage.
set -euo pipefail

cd "$(dirname "$0")/.."

usage() { sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; }

linux_packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libstb-dev nlohmann-json3-dev libsdl2-dev)
# The window tests: a virtual display, X input, screenshots (tests/window/).
window_test_packages=(xvfb xdotool imagemagick)
windows_packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686)
# Wine runs the Windows build in the tests; the checks skip, saying so, where
# it cannot run (see install_wine).
wine_packages=(wine wine32:i386)
# The man page is made at build time.
linux_packages+=(help2man)
# The release archives and their checks (scripts/package.sh, tests/package/).
package_packages=(zip unzip git)
# Only for scripts/fuzz.sh and scripts/valgrind.sh.
tool_packages=(clang libclang-rt-14-dev valgrind)
# The test command's lint stage (scripts/lint.sh).
lint_packages=(clang-format clang-tidy)
# The browser page (the web preset) and its tests in a real browser (tests/web/).
web_packages=(emscripten)
web_test_packages=(chromium nodejs)
# The test command's fuzz stage (scripts/test-extra.sh runs scripts/fuzz.sh --ci).
fuzz_packages=(clang libclang-rt-14-dev)

# A mirror caught mid-sync fails one index ("File has unexpected size") and
# apt-get update exits 100 although every other list was read. Try again a
# little later; if it still fails, go on with the lists there are: the install
# itself says plainly if a package cannot be had. Once a run is enough.
lists_updated=false
update_package_lists() {
  local attempt
  "$lists_updated" && return 0
  lists_updated=true
  for attempt in 1 2 3; do
    apt-get update -qq && return 0
    [ "$attempt" -lt 3 ] || break
    echo "build.sh: apt-get update failed (attempt $attempt of 3); trying again in 30 s" >&2
    sleep 30
  done
  echo "build.sh: warning: apt-get update failed 3 times; installing from the package lists it could read" >&2
}

install_packages() {
  local p need=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
  done
  [ "${#need[@]}" -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "build.sh: missing packages: ${need[*]}; install them (as root: apt-get install ${need[*]})" >&2
    return 1
  fi
  if printf '%s\n' "${need[@]}" | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  echo "build.sh: installing ${need[*]}" >&2
  update_package_lists
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
}

# Wine's 32-bit half comes from the i386 package lists. Where those cannot be
# had (a mirror caught mid-sync leaves the i386 libraries a version behind the
# installed amd64 ones, and apt refuses the pair), everything else is still
# built and tested: the Windows build's checks that need Wine then say
# "SKIPPED" and why. This says so first, loudly, rather than stopping the run.
install_wine() {
  if ! install_packages "${wine_packages[@]}"; then
    echo "build.sh: warning: could not install ${wine_packages[*]}; the Windows build is made and" >&2
    echo "build.sh: warning: checked, but not run under Wine in this run (those checks say SKIPPED)" >&2
  fi
}

# npm: Debian's package, unless the Node.js installed brings its own
# (NodeSource's does, and conflicts with Debian's npm).
install_npm() {
  command -v npm >/dev/null 2>&1 || install_packages npm
}

jobs=$(nproc 2>/dev/null || echo 2)

# The page: build/web/vantorel.html. em++ runs its optimizer with Node, which
# finds Debian's acorn module through NODE_PATH (the preset sets it).
build_web() {
  cmake --preset web >/dev/null
  cmake --build --preset web -j "$jobs"
}

# The browser tests' one npm package, exactly as locked, without a browser download.
install_web_test_modules() {
  (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

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
    install_wine
    install_packages "${fuzz_packages[@]}" "${lint_packages[@]}"
    install_packages "${web_packages[@]}" "${web_test_packages[@]}"
    install_npm
    build_linux ci
    # The browser tests fail here, rather than skip, when the page or the browser is missing.
    build_web >/dev/null
    install_web_test_modules
    VANTOREL_WEB_TESTS_REQUIRED=1 ctest --preset ci -j "$jobs"
    if [ -f scripts/test-extra.sh ]; then
      bash scripts/test-extra.sh
    fi
    ;;
  web)
    install_packages "${web_packages[@]}"
    build_web >&2
    echo "$PWD/build/web/vantorel.html"
    ;;
  deps)
    install_packages "${linux_packages[@]}" "${windows_packages[@]}" "${tool_packages[@]}" "${package_packages[@]}" "${window_test_packages[@]}" "${lint_packages[@]}"
    install_wine
    install_packages "${web_packages[@]}" "${web_test_packages[@]}"
    install_npm
    ;;
  package)
    # The same builds as CI's (build/ci, build/mingw, build/web), only the packaged targets.
    install_packages "${linux_packages[@]}" "${windows_packages[@]}" "${package_packages[@]}" "${web_packages[@]}"
    cmake --preset ci >/dev/null
    cmake --build --preset ci -j "$jobs" --target vantorel-host vantorel_plugin vantorel_manpage
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw -j "$jobs" --target vantorel-host vantorel_plugin
    build_web
    scripts/package.sh build/ci build/mingw dist build/web
    ;;
  -h|--help|help)
    usage
    ;;
  *)
    usage >&2
    exit 2
    ;;
esac
