#!/bin/sh
# run-wine-suite.sh - runs every vantorel-host test of the suite twice: with the
# Linux build, and under Wine with vantorel-host.exe loading the 32-bit
# vantorel.p. Each run must pass the test's own checks, and the two runs must
# give byte-identical stdout (the command texts the plug-in sent to Layout)
# and the same exit status of vantorel-host.
#
# Usage: run-wine-suite.sh [-k] [-f REGEX] LINUX_BUILD_DIR MINGW_BUILD_DIR
#   LINUX_BUILD_DIR  a configured and built Linux build (vantorel-host, vantorel.p)
#   MINGW_BUILD_DIR  the Windows cross build (vantorel-host.exe, vantorel.p)
#   -f REGEX         run only the tests whose CTest name matches REGEX (grep -E)
#   -k               keep the outputs of passing tests too
#
# The tests are those of LINUX_BUILD_DIR's CTest list that run vantorel-host,
# with the same arguments and working folders. The Wine prefix is made once,
# in MINGW_BUILD_DIR/wine-suite/prefix, and reused; the outputs of the runs go
# to MINGW_BUILD_DIR/wine-suite/runs/.
# Each run of a test is stopped after VT_WINE_TEST_TIMEOUT seconds (default 120).
# Prints one line per test and a final "N passed, N failed" line.
# Exit status: 0 all tests passed, 1 a test failed, 2 usage or set-up error.

set -u

usage() {
    echo "usage: $0 [-k] [-f REGEX] LINUX_BUILD_DIR MINGW_BUILD_DIR" >&2
    exit 2
}
die() {
    echo "run-wine-suite: $*" >&2
    exit 2
}

filter=""
keep=0
while [ $# -gt 0 ]; do
    case "$1" in
    -h | --help)
        sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    -f) [ $# -ge 2 ] || usage; filter=$2; shift 2 ;;
    -k) keep=1; shift ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
    esac
done
[ $# -eq 2 ] || usage

here=$(cd "$(dirname "$0")" && pwd) || die "cannot find the script's folder"
linux=$(cd "$1" 2>/dev/null && pwd) || die "no Linux build folder '$1'"
mingw=$(cd "$2" 2>/dev/null && pwd) || die "no Windows build folder '$2'"

linux_host=$linux/vantorel-host
linux_plugin=$linux/vantorel.p
win_host=$mingw/vantorel-host.exe
win_plugin=$mingw/vantorel.p
for f in "$linux_host" "$linux_plugin" "$win_host" "$win_plugin"; do
    [ -f "$f" ] || die "missing $f; build both trees first (cmake --build ...)"
done
command -v wine >/dev/null 2>&1 || die "wine not found (Debian: dpkg --add-architecture i386; apt-get install wine wine32:i386)"
command -v ctest >/dev/null 2>&1 || die "ctest not found"
command -v cmake >/dev/null 2>&1 || die "cmake not found"
command -v timeout >/dev/null 2>&1 || die "timeout not found (coreutils)"

work=$mingw/wine-suite
# Seconds one run of one test may take before it is stopped and failed.
time_limit=${VT_WINE_TEST_TIMEOUT:-120}
runs=$work/runs
rm -rf "$runs"
mkdir -p "$runs" || die "cannot make $runs"

# ---- The tests to run ------------------------------------------------------
ctest --test-dir "$linux" --show-only=json-v1 >"$work/tests.json" 2>"$work/ctest.err" ||
    die "ctest cannot list the tests of $linux: $(cat "$work/ctest.err")"
cmake -DTESTS_JSON="$work/tests.json" -DHOST="$linux_host" -DOUT="$work/tests.txt" \
    -P "$here/list-host-tests.cmake" || die "cannot read the test list"
[ -s "$work/tests.txt" ] || die "$linux has no test that runs vantorel-host"

# ---- Wine ------------------------------------------------------------------
. "$here/wine-env.sh"
use_wine_prefix "$work/prefix" "$work/wineboot.log" || die "wineboot --init failed; see $work/wineboot.log"
# One Wine server for the whole run instead of one per test. Its helper
# processes (services.exe and friends) are started here, with their output
# going to a log: started by a test's first Wine run, they would inherit that
# test's output pipe and keep it open after the test ended.
wineserver -p >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1' EXIT
trap 'exit 2' INT TERM
wine cmd.exe /c exit 0 </dev/null >"$work/wine-start.log" 2>&1 ||
    die "Wine cannot start a program; see $work/wine-start.log"

# ---- The stand-ins each test runs in place of vantorel-host -----------------
# Each runs the real program (adding --plugin when the test names none),
# records its stdout and exit status, and passes both on to the test.
make_shim() {
    # make_shim FILE COMMAND... : a stand-in running COMMAND "$@"
    shim=$1
    shift
    {
        echo '#!/bin/sh'
        echo 'has_plugin=0'
        echo 'for a in "$@"; do [ "$a" = --plugin ] && has_plugin=1; done'
        echo "if [ \$has_plugin = 0 ]; then set -- --plugin \"\$VT_PLUGIN\" \"\$@\"; fi"
        echo 'n=$(ls "$VT_RECORD" 2>/dev/null | grep -c "\.rc$")'
        printf '%s "$@" >"$VT_RECORD/$n.out"\n' "$*"
        echo 'rc=$?'
        echo 'echo "$rc" >"$VT_RECORD/$n.rc"'
        echo 'cat "$VT_RECORD/$n.out"'
        echo 'exit "$rc"'
    } >"$shim"
    chmod +x "$shim"
}
make_shim "$work/host-linux" "\"$linux_host\""
make_shim "$work/host-wine" "wine \"$win_host\""

# run_side NAME SIDE SHIM PLUGIN WORKDIR ARGS...: one run of a test; status 0 if
# the test's own checks passed.
run_side() {
    name=$1 side=$2 shim=$3 plugin=$4 wd=$5
    shift 5
    dir=$runs/$name/$side
    mkdir -p "$dir/record"
    # Every argument that names the Linux host or plug-in names this side's.
    for a in "$@"; do
        a=$(printf '%s' "$a" | sed "s|$(escape "$linux_host")|$(escape "$shim")|g; s|$(escape "$linux_plugin")|$(escape "$plugin")|g")
        printf '%s\037' "$a"
    done >"$dir/args"
    (
        cd "${wd:-$linux}" 2>/dev/null || cd "$linux" || exit 2
        IFS=$(printf '\037')
        # shellcheck disable=SC2046
        set -f
        set -- $(cat "$dir/args")
        VT_RECORD=$dir/record VT_PLUGIN=$plugin timeout -k 10 "$time_limit" "$@" \
            >"$dir/test.out" 2>"$dir/test.err" </dev/null
        rc=$?
        [ $rc -ne 124 ] || echo "run-wine-suite: stopped after $time_limit seconds" >>"$dir/test.err"
        exit $rc
    )
}
escape() { printf '%s' "$1" | sed 's/[][\.*^$|]/\\&/g'; }

# compare NAME: prints what differs between the two sides' records.
compare() {
    l=$runs/$1/linux/record
    w=$runs/$1/wine/record
    nl=$(ls "$l" | grep -c '\.rc$')
    nw=$(ls "$w" | grep -c '\.rc$')
    if [ "$nl" != "$nw" ]; then
        echo "vantorel-host ran $nl time(s) on Linux, $nw time(s) under Wine"
        return
    fi
    if [ "$nl" = 0 ]; then
        echo "the test never ran vantorel-host"
        return
    fi
    i=0
    while [ $i -lt "$nl" ]; do
        if [ "$(cat "$l/$i.rc")" != "$(cat "$w/$i.rc")" ]; then
            echo "exit status $(cat "$l/$i.rc") on Linux, $(cat "$w/$i.rc") under Wine"
        fi
        if ! cmp -s "$l/$i.out" "$w/$i.out"; then
            echo "stdout differs: $(cmp "$l/$i.out" "$w/$i.out" 2>&1 | head -n 1)"
        fi
        i=$((i + 1))
    done
}

passed=0
failed=0
skipped=0
us=$(printf '\037')
while IFS= read -r line; do
    name=${line%%"$us"*}
    rest=${line#*"$us"}
    wd=${rest%%"$us"*}
    cmdline=${rest#*"$us"}
    if [ -n "$filter" ] && ! printf '%s\n' "$name" | grep -Eq -- "$filter"; then
        continue
    fi
    old_ifs=$IFS
    IFS=$us
    set -f
    # shellcheck disable=SC2086
    set -- $cmdline
    set +f
    IFS=$old_ifs

    problems=""
    run_side "$name" linux "$work/host-linux" "$linux_plugin" "$wd" "$@" ||
        problems="the test fails with the Linux build (see $runs/$name/linux/test.err); "
    run_side "$name" wine "$work/host-wine" "$win_plugin" "$wd" "$@" ||
        problems="${problems}the test fails under Wine (see $runs/$name/wine/test.err); "
    # A test that skips itself (its data is absent) runs the host on neither side.
    if [ -z "$problems" ] && ! ls "$runs/$name/linux/record" "$runs/$name/wine/record" 2>/dev/null | grep -q '\.rc$'; then
        skipped=$((skipped + 1))
        echo "SKIP $name: vantorel-host ran on neither side"
        continue
    fi
    diffs=$(compare "$name")
    [ -z "$diffs" ] || problems="$problems$(printf '%s' "$diffs" | tr '\n' ';' | sed 's/;$//')"
    lines=$(cat "$runs/$name/linux/record/"*.out 2>/dev/null | wc -l | tr -d ' ')
    rc=$(cat "$runs/$name/linux/record/0.rc" 2>/dev/null || echo '?')
    if [ -z "$problems" ]; then
        passed=$((passed + 1))
        echo "PASS $name (exit $rc, $lines stdout lines identical)"
        [ "$keep" = 1 ] || rm -rf "${runs:?}/$name"
    else
        failed=$((failed + 1))
        echo "FAIL $name: $problems"
    fi
done <"$work/tests.txt"

[ $((passed + failed)) -gt 0 ] || die "no test matches '$filter'"
echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
