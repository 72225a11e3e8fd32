#!/bin/sh
# check-float-math.sh - checks that the plug-in's own object files do their
# floating-point arithmetic in SSE2, not on the x87 unit: x87 arithmetic rounds
# twice (and as the host's control word says), so its results can differ in
# the last bit from the Linux build's and change command texts.
# Loads and stores through the x87 registers (fld, fstp: exact for doubles,
# used to return a double) are allowed; arithmetic and integer conversions
# are not.
#
# Usage: check-float-math.sh OBJECT_FILE...
# Environment: OBJDUMP (default i686-w64-mingw32-objdump).
# Exit status: 0 no x87 arithmetic, 1 some found, 2 usage or tool error.
set -u
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
case "${1:-}" in
-h | --help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
"") echo "usage: $0 OBJECT_FILE..." >&2; exit 2 ;;
esac
command -v "$OBJDUMP" >/dev/null 2>&1 || { echo "check-float-math: $OBJDUMP not found" >&2; exit 2; }
# AT&T mnemonics, with or without an operand-size suffix (s, l, t, q, ll).
x87='[[:space:]](f(add|sub|subr|mul|div|divr)(p|s|l|t)?|fi(add|sub|subr|mul|div|divr)(s|l)?|fild(s|l|q|ll)?|fistt?p?(s|l|q|ll)?|fsqrt|fprem1?|frndint|fscale|fsin|fcos|fsincos|fptan|fpatan|fyl2x|fyl2xp1|f2xm1)([[:space:]]|$)'
status=0
for obj in "$@"; do
    dis=$("$OBJDUMP" -d --no-show-raw-insn "$obj" 2>&1) || { echo "check-float-math: cannot read $obj" >&2; exit 2; }
    found=$(printf '%s\n' "$dis" | grep -E "$x87")
    if [ -n "$found" ]; then
        echo "FAIL: $obj does x87 arithmetic:"
        printf '%s\n' "$found" | head -n 10
        status=1
    else
        echo "ok: $(basename "$obj")"
    fi
done
[ "$status" = 0 ] && echo "check-float-math: PASS ($# object files)" || echo "check-float-math: FAIL"
exit $status
