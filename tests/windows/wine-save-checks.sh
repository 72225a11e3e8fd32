#!/bin/sh
# wine-save-checks.sh - the Windows save path of vantorel-host.exe under Wine:
# what the shared suite cannot show because the Linux run differs (a read-only
# file means nothing to root on Linux) or never meets it (wide-character names).
#
# Usage: wine-save-checks.sh MINGW_BUILD_DIR SCENE
#   MINGW_BUILD_DIR  the Windows cross build (vantorel-host.exe, vantorel.p)
#   SCENE            a scene file with at least one light to load and save
# Uses the Wine prefix the suite made (MINGW_BUILD_DIR/wine-suite/prefix), or
# makes one there. Prints one line per check and a final "N passed, N failed".
# Exit status: 0 all passed, 1 a check failed, 2 usage or set-up error.
set -u

case "${1:-}" in
-h | --help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
[ $# -eq 2 ] || { echo "usage: $0 MINGW_BUILD_DIR SCENE" >&2; exit 2; }
mingw=$(cd "$1" 2>/dev/null && pwd) || { echo "wine-save-checks: no folder '$1'" >&2; exit 2; }
scene=$2
[ -f "$scene" ] || { echo "wine-save-checks: no scene file '$scene'" >&2; exit 2; }
exe=$mingw/vantorel-host.exe
plugin=$mingw/vantorel.p
[ -f "$exe" ] && [ -f "$plugin" ] || { echo "wine-save-checks: build $mingw first" >&2; exit 2; }

. "$(dirname "$0")/wine-env.sh"
use_wine_prefix "$mingw/wine-suite/prefix" "$mingw/wine-suite/wineboot.log" || {
    echo "wine-save-checks: wineboot --init failed; see $mingw/wine-suite/wineboot.log" >&2
    exit 2
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-wine-save.XXXXXX") || exit 2
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
passed=0
failed=0
check() {
    # check NAME CONDITION-STATUS [DETAIL]
    if [ "$2" -eq 0 ]; then
        passed=$((passed + 1))
        echo "PASS $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1${3:+: $3}"
    fi
}
host() {
    # host ARGS...: runs vantorel-host.exe in $work; sets rc, leaves out/err
    (cd "$work" && wine "$exe" --plugin "$plugin" "$@" >"$work/out" 2>"$work/err" </dev/null)
    rc=$?
}
leftovers() { find "$work" -name '*.vantorel-*' | head -n 1; }

# The edit selects the first light by the start of its name.
first=$(sed -n 's/^LightName \(..\).*/\1/p' "$scene" | tr -d '\r' | head -n 1)
[ -n "$first" ] || { echo "wine-save-checks: $scene names no light" >&2; exit 2; }
printf 'prefix "%s"\nintensity 25\nok\n' "$first" >"$work/edit.vts"
printf 'ok\n' >"$work/ok.vts"

# 1. Over the scene file itself: the rename replaces an existing file.
cp "$scene" "$work/scene.lws"
host --scene scene.lws --script edit.vts --save scene.lws
! cmp -s "$scene" "$work/scene.lws" && [ "$rc" -eq 0 ] && [ -z "$(leftovers)" ]
check "save over the scene file replaces it, nothing left behind" $? "exit $rc, $(head -c 300 "$work/err")"

# 2. A read-only target (FILE_ATTRIBUTE_READONLY) is refused before the run
#    and kept.
cp "$scene" "$work/locked.lws"
printf 'old\n' >"$work/locked-out.lws"
chmod a-w "$work/locked-out.lws"
host --scene locked.lws --script ok.vts --save locked-out.lws
[ "$rc" -eq 2 ] && grep -q "is read-only" "$work/err" && [ "$(cat "$work/locked-out.lws")" = old ] &&
    [ -z "$(leftovers)" ]
check "a read-only target is refused with exit 2 and left as it was" $? "exit $rc, $(head -c 300 "$work/err")"
chmod u+w "$work/locked-out.lws"

# 3. The same file once writable again takes the save.
host --scene locked.lws --script ok.vts --save locked-out.lws
[ "$rc" -eq 0 ] && cmp -s "$scene" "$work/locked-out.lws"
check "the same target, made writable, is replaced" $? "exit $rc, $(head -c 300 "$work/err")"

# 4. Names with letters beyond ASCII (all in the ANSI code page, which the
#    program's arguments come in), in a folder with a space, through the
#    wide-character calls: load, save over an existing file, and a picture.
dir="$work/Szene Ü"
mkdir -p "$dir"
cp "$scene" "$dir/lumière.lws"
printf 'old\n' >"$dir/kopie €.lws"
printf 'old\n' >"$dir/bild é.png"
host --scene "Szene Ü/lumière.lws" --script ok.vts --save "Szene Ü/kopie €.lws" --png "Szene Ü/bild é.png"
[ "$rc" -eq 0 ] && cmp -s "$scene" "$dir/kopie €.lws" && [ "$(head -c 4 "$dir/bild é.png" | od -An -tx1 | tr -d ' ')" = 89504e47 ] &&
    [ -z "$(leftovers)" ]
check "wide-character names: load, save and picture over existing files" $? "exit $rc, $(head -c 300 "$work/err")"

# 5. A save into a folder that does not exist: exit 2 before the run, nothing made.
host --scene locked.lws --script ok.vts --save "missing/out.lws"
[ "$rc" -eq 2 ] && grep -q "its folder 'missing' does not exist" "$work/err" && [ ! -e "$work/missing" ]
check "a save into a missing folder is refused with exit 2" $? "exit $rc, $(head -c 300 "$work/err")"

echo "wine save checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
