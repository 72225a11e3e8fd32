#!/bin/sh
# check-dll.sh - checks that a built vantorel.p is what Layout can load on any
# Windows: a 32-bit i386 DLL whose export table holds exactly the data symbol
# _mod_descrip, undecorated, and which imports from KERNEL32.dll and
# msvcrt.dll only. Prints the export and import lists it found.
#
# Usage: check-dll.sh [--self-test] [PATH/TO/vantorel.p]
#   --self-test  also builds small faulty DLLs and checks that each is refused
# Environment: OBJDUMP (default i686-w64-mingw32-objdump),
#              MINGW_CC (default i686-w64-mingw32-gcc, for --self-test only).
# Exit status: 0 all checks passed, 1 a check failed, 2 usage or tool error.

set -u

usage() {
    echo "usage: $0 [--self-test] PATH/TO/vantorel.p" >&2
    exit 2
}

OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
MINGW_CC=${MINGW_CC:-i686-w64-mingw32-gcc}
ALLOWED_IMPORTS="KERNEL32.dll msvcrt.dll"
EXPECTED_EXPORT="_mod_descrip"

self_test=0
dll=""
for arg in "$@"; do
    case "$arg" in
    --self-test) self_test=1 ;;
    -h | --help)
        sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    -*) usage ;;
    *) [ -z "$dll" ] || usage; dll=$arg ;;
    esac
done
[ -n "$dll" ] || usage
command -v "$OBJDUMP" >/dev/null 2>&1 || { echo "check-dll: $OBJDUMP not found (Debian: binutils-mingw-w64-i686)" >&2; exit 2; }

# check_one FILE QUIET: runs every check on FILE; returns 0 if all pass.
check_one() {
    file=$1
    quiet=$2
    say() { [ "$quiet" = 1 ] || echo "$@"; }
    if [ ! -f "$file" ]; then
        say "FAIL: $file: no such file"
        return 1
    fi
    dump=$("$OBJDUMP" -p "$file" 2>&1) || { say "FAIL: $file: $OBJDUMP cannot read it: $dump"; return 1; }
    headers=$("$OBJDUMP" -h "$file" 2>&1) || { say "FAIL: $file: $OBJDUMP -h failed"; return 1; }
    ok=0

    format=$(printf '%s\n' "$dump" | sed -n 's/.*file format \(.*\)$/\1/p' | head -n 1)
    magic=$(printf '%s\n' "$dump" | awk '$1 == "Magic" { print $3; exit }')
    say "file: $file ($(wc -c <"$file" | tr -d ' ') bytes)"
    say "format: $format $magic"
    [ "$format" = "pei-i386" ] || { say "FAIL: not a 32-bit i386 PE image (format '$format')"; ok=1; }
    [ "$magic" = "(PE32)" ] || { say "FAIL: optional header is not PE32 ('$magic')"; ok=1; }
    printf '%s\n' "$dump" | sed -n '/^Characteristics/,/^$/p' | grep -qx '[[:space:]]*DLL' ||
        { say "FAIL: the DLL flag is not set: this is not a dynamic library"; ok=1; }

    # Export names: the lines after "[Ordinal/Name Pointer] Table".
    exports=$(printf '%s\n' "$dump" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
        on && /^[[:space:]]*$/ { on = 0 }
        on { sub(/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]*/, ""); print }')
    count=$(printf '%s\n' "$dump" | awk '/Export Address Table[[:space:]]+[0-9a-fA-F]+$/ && !/Table Addresses/ { print $NF; exit }')
    say "exports:"
    if [ -n "$exports" ]; then printf '%s\n' "$exports" | sed 's/^/  /' | { [ "$quiet" = 1 ] && cat >/dev/null || cat; }; fi
    if [ "$exports" != "$EXPECTED_EXPORT" ]; then
        say "FAIL: the export table must hold exactly $EXPECTED_EXPORT"
        ok=1
    fi
    if [ -n "$count" ] && [ "$((0x$count))" -ne 1 ]; then
        say "FAIL: the export address table has $((0x$count)) entries, not 1 (exports by ordinal only?)"
        ok=1
    fi

    # The one export must be data: its address lies in a section without code.
    rva=$(printf '%s\n' "$dump" | awk '/^Export Address Table -- / { on = 1; next } on && /Export RVA/ { print $(NF-2); exit }')
    base=$(printf '%s\n' "$dump" | awk '$1 == "ImageBase" { print $2; exit }')
    if [ -n "$rva" ] && [ -n "$base" ]; then
        section=$(printf '%s\n' "$headers" | awk -v rva="$((0x$rva))" -v base="$((0x$base))" '
            function hex(s,   i, c, v) { v = 0; s = tolower(s)
                for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(s, i, 1)) - 1; v = v * 16 + c }
                return v }
            $1 ~ /^[0-9]+$/ && NF >= 7 { name = $2; size = hex($3); vma = hex($4) - base; getline flags
                if (rva >= vma && rva < vma + size) { print name (flags ~ /CODE/ ? " code" : " data"); exit } }')
        say "export address: RVA 0x$rva in ${section:-no section}"
        case "$section" in
        *" data") ;;
        *) say "FAIL: $EXPECTED_EXPORT must be a data object, not code"; ok=1 ;;
        esac
    else
        say "FAIL: no export address found"
        ok=1
    fi

    imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
    say "imports:"
    if [ -n "$imports" ]; then printf '%s\n' "$imports" | sed 's/^/  /' | { [ "$quiet" = 1 ] && cat >/dev/null || cat; }; fi
    for dllname in $imports; do
        allowed=0
        for a in $ALLOWED_IMPORTS; do
            [ "$(echo "$dllname" | tr 'A-Z' 'a-z')" = "$(echo "$a" | tr 'A-Z' 'a-z')" ] && allowed=1
        done
        [ "$allowed" = 1 ] || { say "FAIL: imports $dllname; only $ALLOWED_IMPORTS are allowed"; ok=1; }
    done
    return $ok
}

status=0
if check_one "$dll" 0; then
    echo "check-dll: PASS $dll"
else
    echo "check-dll: FAIL $dll"
    status=1
fi

if [ "$self_test" = 1 ]; then
    command -v "$MINGW_CC" >/dev/null 2>&1 || { echo "check-dll: $MINGW_CC not found (Debian: gcc-mingw-w64-i686)" >&2; exit 2; }
    tmp=$(mktemp -d) || exit 2
    trap 'rm -rf "$tmp"' EXIT
    good='int _mod_descrip[6] = {0x04121994, 3, 0x300};'
    # name|source|def file contents ("" = no def file)|extra link flags|expected (pass/fail)
    run_case() {
        name=$1 src=$2 def=$3 flags=$4 expect=$5
        printf '%s\n' "$src" >"$tmp/$name.c"
        set -- "$tmp/$name.c"
        if [ -n "$def" ]; then printf '%b\n' "$def" >"$tmp/$name.def"; set -- "$@" "$tmp/$name.def"; fi
        # shellcheck disable=SC2086
        if ! "$MINGW_CC" -shared -o "$tmp/$name.p" "$@" $flags 2>"$tmp/$name.log"; then
            echo "self-test: cannot build case $name:"; cat "$tmp/$name.log"; status=2; return
        fi
        if check_one "$tmp/$name.p" 1; then got=pass; else got=fail; fi
        if [ "$got" = "$expect" ]; then
            echo "self-test: ok   $name (${got}ed as expected)"
        else
            echo "self-test: WRONG $name: ${got}ed, expected to ${expect}"
            status=1
        fi
    }
    run_case good "$good" 'EXPORTS\n    _mod_descrip DATA' "" pass
    run_case decorated "$good" 'EXPORTS\n    __mod_descrip=_mod_descrip DATA' "" fail
    run_case extra-export "$good int helper(void) { return 1; }" 'EXPORTS\n    _mod_descrip DATA\n    helper' "" fail
    run_case all-symbols "$good int helper(void) { return 1; }" "" "" fail
    run_case code-export "int _mod_descrip(void) { return 1; }" 'EXPORTS\n    _mod_descrip' "" fail
    run_case user32 "$good
#include <windows.h>
int beep(void) { return MessageBeep(0); }" 'EXPORTS\n    _mod_descrip DATA' "-luser32" fail
    run_case libgcc-dll "$good long long d(long long a, long long b) { return a / b; }" 'EXPORTS\n    _mod_descrip DATA' "-shared-libgcc" fail
fi
exit $status
