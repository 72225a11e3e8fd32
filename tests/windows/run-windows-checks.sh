#!/bin/sh
# run-windows-checks.sh - builds the Windows cross build (preset "mingw") and
# checks it: the DLL's exports, imports and floating-point code (CTest in
# build/mingw), then every vantorel-host test under Wine against the Linux
# build given, then the Windows save path (wine-save-checks.sh), then the
# validator on the DLL under Wine.
#
# Usage: run-windows-checks.sh LINUX_BUILD_DIR
#   LINUX_BUILD_DIR  an already built Linux tree, e.g. build/ci
# Run from anywhere; the Windows build goes to build/mingw of the source tree.
# Needs: g++-mingw-w64-i686, binutils-mingw-w64-i686, wine, wine32:i386.
# Exit status: 0 all passed, 1 a check or test failed, 2 usage or build error.
set -u
case "${1:-}" in
-h | --help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
"" | -*) echo "usage: $0 LINUX_BUILD_DIR" >&2; exit 2 ;;
esac
linux=$(cd "$1" 2>/dev/null && pwd) || { echo "run-windows-checks: no build folder '$1'" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cd "$root" || exit 2
jobs=$(nproc 2>/dev/null || echo 2)

echo "== Windows cross build (preset mingw)"
cmake --preset mingw >/dev/null || exit 2
cmake --build --preset mingw -j "$jobs" || exit 2
echo "== DLL checks"
ctest --test-dir build/mingw --output-on-failure || exit 1
# Wine runs the 32-bit programs on Linux only where the kernel can execute
# 32-bit code; some kernels are built without it. Then nothing can run the
# Windows build here: say so plainly and stop after the checks above.
if ! wine_version=$(WINEDEBUG=-all wine --version 2>&1) || [ -z "$wine_version" ]; then
    echo "SKIPPED: the Windows session tests and the validator under Wine: wine cannot run here"
    echo "  ($(printf '%s' "$wine_version" | head -n 1 | cut -c1-160))."
    echo "  This kernel cannot execute 32-bit programs, or wine32:i386 is missing; run"
    echo "  tests/windows/run-windows-checks.sh on a machine whose kernel has 32-bit support."
    exit 0
fi
echo "== Session tests under Wine ($wine_version)"
"$here/run-wine-suite.sh" "$linux" build/mingw || exit 1
echo "== The Windows save path under Wine"
"$here/wine-save-checks.sh" build/mingw "$root/tests/scenefile/fixtures/v3.lws" || exit 1
echo "== Validator under Wine: the real DLL, fixed seed"
# The suite has made the Wine prefix under build/mingw.
(cd build/mingw && WINEPREFIX="$root/build/mingw/wine-suite/prefix" WINEDEBUG=-all \
    wine vantorel-host.exe --validate --plugin vantorel.p --seed "${VALIDATE_SEED:-20240601}" \
    --runs "${WINE_VALIDATE_RUNS:-100}" </dev/null) || exit 1
