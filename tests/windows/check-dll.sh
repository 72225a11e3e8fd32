#!/bin/sh
# check-dll.sh - checks that a built vantorel.p is what Layout can load on any
# Windows: a 32-bit i386 DLL whose export table holds exactly the data symbol
# _mod_descrip, undecorated, which imports from KERNEL32.dll and msvcrt.dll
# only, and which carries a version resource (FileDescription, ProductName,
# FileVersion, ProductVersion, OriginalFilename "vantorel.p", LegalCopyright)
# whose numeric and text versions agree. Prints what it found.
#
# Usage: check-dll.sh [--self-test] [--version X.Y.Z] [PATH/TO/vantorel.p]
#   --version X.Y.Z  the version the resource must give
#   --self-test      also builds small faulty DLLs and checks that each is refused
# Environment: OBJDUMP (default i686-w64-mingw32-objdump), OBJCOPY and STRINGS
#              (default i686-w64-mingw32-objcopy, -strings), MINGW_CC and
#              WINDRES (default i686-w64-mingw32-gcc, -windres; --self-test only).
# Exit status: 0 all checks passed, 1 a check failed, 2 usage or tool error.

set -u

usage() {
    echo "usage: $0 [--self-test] [--version X.Y.Z] PATH/TO/vantorel.p" >&2
    exit 2
}

OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
MINGW_CC=${MINGW_CC:-i686-w64-mingw32-gcc}
OBJCOPY=${OBJCOPY:-i686-w64-mingw32-objcopy}
STRINGS=${STRINGS:-i686-w64-mingw32-strings}
WINDRES=${WINDRES:-i686-w64-mingw32-windres}
ALLOWED_IMPORTS="KERNEL32.dll msvcrt.dll"
EXPECTED_EXPORT="_mod_descrip"

self_test=0
dll=""
version=""
while [ $# -gt 0 ]; do
    case "$1" in
    --self-test) self_test=1 ;;
    --version)
        [ $# -ge 2 ] || usage
        version=$2
        shift
        printf '%s\n' "$version" | grep -Eqx '[0-9]+\.[0-9]+\.[0-9]+' ||
            { echo "check-dll: --version takes X.Y.Z, not '$version'" >&2; exit 2; }
        ;;
    -h | --help)
        sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    -*) usage ;;
    *) [ -z "$dll" ] || usage; dll=$1 ;;
    esac
    shift
done
[ -n "$dll" ] || usage
for tool in "$OBJDUMP" "$OBJCOPY" "$STRINGS"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "check-dll: $tool not found (Debian: binutils-mingw-w64-i686)" >&2; exit 2; }
done
scratch=$(mktemp -d) || exit 2
trap 'rm -rf "$scratch"' EXIT

# version_resource FILE: prints the DLL's version resource as lines
# "fixed A.B.C.D" (the numeric file version), "fixed-product A.B.C.D", and
# "KEY=VALUE" for each string of its StringFileInfo. Prints nothing if the
# DLL has no resources or no version resource.
version_resource() {
    rm -f "$scratch/rsrc"
    "$OBJCOPY" -O binary -j .rsrc "$1" "$scratch/rsrc" 2>/dev/null || return 0
    [ -s "$scratch/rsrc" ] || return 0
    # VS_FIXEDFILEINFO starts with the signature 0xFEEF04BD (little endian),
    # followed by the structure version, then the file and product versions
    # as two 32-bit words each (high word first in meaning: A.B, then C.D).
    od -An -v -tx1 "$scratch/rsrc" | tr -s ' \n' '\n\n' | grep . | awk '
        { b[n++] = $1 }
        function h(s) { return index("0123456789abcdef", substr(s, 1, 1)) * 16 + index("0123456789abcdef", substr(s, 2, 1)) - 17 }
        function w(i) { return h(b[i + 1]) * 256 + h(b[i]) }
        END {
            for (i = 0; i + 24 <= n; i++)
                if (b[i] == "bd" && b[i + 1] == "04" && b[i + 2] == "ef" && b[i + 3] == "fe") {
                    printf "fixed %d.%d.%d.%d\n", w(i + 10), w(i + 8), w(i + 14), w(i + 12)
                    printf "fixed-product %d.%d.%d.%d\n", w(i + 18), w(i + 16), w(i + 22), w(i + 20)
                    exit
                }
        }'
    # The strings are UTF-16LE, each key followed by its value.
    "$STRINGS" -a -el -n 1 "$scratch/rsrc" | awk '
        $0 == "StringFileInfo" { on = 1; next }
        $0 == "VarFileInfo" { on = 0 }
        on && key != "" { print key "=" $0; key = ""; next }
        on && /^(FileDescription|ProductName|FileVersion|ProductVersion|OriginalFilename|LegalCopyright|InternalName|CompanyName)$/ { key = $0 }'
}

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

    resource=$(version_resource "$file")
    field() { printf '%s\n' "$resource" | sed -n "s/^$1=//p" | head -n 1; }
    fixed=$(printf '%s\n' "$resource" | sed -n 's/^fixed //p')
    fixed_product=$(printf '%s\n' "$resource" | sed -n 's/^fixed-product //p')
    say "version resource:"
    if [ -z "$fixed" ]; then
        say "FAIL: no version resource (VS_VERSION_INFO): Windows would show no version"
        ok=1
    else
        say "  numeric: file $fixed, product $fixed_product"
        if [ "$quiet" != 1 ]; then printf '%s\n' "$resource" | grep '=' | sed 's/^/  /'; fi
        for key in FileDescription ProductName FileVersion ProductVersion OriginalFilename LegalCopyright; do
            [ -n "$(field "$key")" ] || { say "FAIL: the version resource has no $key"; ok=1; }
        done
        [ "$(field OriginalFilename)" = "vantorel.p" ] ||
            { say "FAIL: OriginalFilename is '$(field OriginalFilename)', not vantorel.p"; ok=1; }
        want=${version:-$(field FileVersion)}
        for got in "$(field FileVersion)" "$(field ProductVersion)"; do
            [ "$got" = "$want" ] || { say "FAIL: the version resource says '$got', expected '$want'"; ok=1; }
        done
        for got in "$fixed" "$fixed_product"; do
            [ "$got" = "$want.0" ] || { say "FAIL: the numeric version is $got, expected $want.0"; ok=1; }
        done
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
    command -v "$WINDRES" >/dev/null 2>&1 || { echo "check-dll: $WINDRES not found (Debian: binutils-mingw-w64-i686)" >&2; exit 2; }
    tmp=$scratch/self-test
    mkdir -p "$tmp" || exit 2
    good='int _mod_descrip[6] = {0x04121994, 3, 0x300};'
    v=${version:-1.2.3}
    # version_object NAME FILEVERSION-NUMBERS FILEVERSION-TEXT ORIGINAL-NAME: a
    # compiled version resource.
    version_object() {
        cat >"$tmp/$1.rc" <<RC_END
1 VERSIONINFO
FILEVERSION $2
PRODUCTVERSION $2
FILETYPE 2
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "FileDescription", "A test DLL"
      VALUE "FileVersion", "$3"
      VALUE "LegalCopyright", "Copyright (c) the testers"
      VALUE "OriginalFilename", "$4"
      VALUE "ProductName", "Test"
      VALUE "ProductVersion", "$3"
    END
  END
END
RC_END
        "$WINDRES" -O coff -o "$tmp/$1.res.o" "$tmp/$1.rc" ||
            { echo "self-test: cannot compile the resource $1"; exit 2; }
    }
    version_object good "$(echo "$v" | tr . ,),0" "$v" vantorel.p
    version_object wrong-text "$(echo "$v" | tr . ,),0" "$v.1" vantorel.p
    version_object wrong-number "9,9,9,0" "$v" vantorel.p
    version_object wrong-name "$(echo "$v" | tr . ,),0" "$v" other.dll
    # name|source|def file contents ("" = no def file)|extra link flags|expected (pass/fail)|resource (good)
    run_case() {
        name=$1 src=$2 def=$3 flags=$4 expect=$5 res=${6:-good}
        printf '%s\n' "$src" >"$tmp/$name.c"
        set -- "$tmp/$name.c"
        [ "$res" = none ] || set -- "$@" "$tmp/$res.res.o"
        if [ -n "$def" ]; then printf '%b\n' "$def" >"$tmp/$name.def"; set -- "$@" "$tmp/$name.def"; fi
        # shellcheck disable=SC2086
        if ! "$MINGW_CC" -shared -o "$tmp/$name.p" "$@" $flags 2>"$tmp/$name.log"; then
            echo "self-test: cannot build case $name:"; cat "$tmp/$name.log"; status=2; return
        fi
        if version=$v check_one "$tmp/$name.p" 1; then got=pass; else got=fail; fi
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
    run_case no-version "$good" 'EXPORTS\n    _mod_descrip DATA' "" fail none
    run_case version-text "$good" 'EXPORTS\n    _mod_descrip DATA' "" fail wrong-text
    run_case version-number "$good" 'EXPORTS\n    _mod_descrip DATA' "" fail wrong-number
    run_case original-name "$good" 'EXPORTS\n    _mod_descrip DATA' "" fail wrong-name
fi
exit $status
