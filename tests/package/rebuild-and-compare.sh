#!/bin/sh
# rebuild-and-compare.sh - checks that the release archives and the page are
# reproducible: builds the packaged programs and the page a second time, from
# the same sources and with the same presets (ci, mingw and web) but in other
# build folders, packages them with scripts/package.sh and compares every file
# (the archives, the page, SHA256SUMS) byte for byte with those in DIST. On a
# difference it lists the entries that differ, and for the page the first
# bytes that differ.
# The second builds run without a compiler launcher: ccache with a
# CCACHE_BASEDIR makes the source paths relative to the build folder, and the
# debugging information, hence the build ID, then depends on that folder;
# make the first builds without one too.
#
# Usage: rebuild-and-compare.sh DIST [WORK]
#   DIST  what scripts/package.sh made from build/ci, build/mingw and build/web
#   WORK  where the second builds and archives go (default build/repro)
# Exit status: 0 identical, 1 they differ, 2 usage or build error.
set -u
case "${1:-}" in
-h | --help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
"" | -*) echo "usage: $0 DIST [WORK]" >&2; exit 2 ;;
esac
dist=$(cd "$1" 2>/dev/null && pwd) || { echo "rebuild-and-compare: no folder '$1'" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root" || exit 2
work=${2:-build/repro}
jobs=$(nproc 2>/dev/null || echo 2)
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER CCACHE_BASEDIR

echo "== second Linux build in $work/linux"
cmake --preset ci -B "$work/linux" >/dev/null || exit 2
cmake --build "$work/linux" -j "$jobs" --target vantorel-host vantorel_plugin vantorel_manpage >/dev/null || exit 2
echo "== second Windows build in $work/mingw"
cmake --preset mingw -B "$work/mingw" >/dev/null || exit 2
cmake --build "$work/mingw" -j "$jobs" --target vantorel-host vantorel_plugin >/dev/null || exit 2
echo "== second build of the page in $work/web"
cmake --preset web -B "$work/web" >/dev/null || exit 2
# em++ runs its optimizer with Node, which finds Debian's acorn through
# NODE_PATH; the web preset sets it, a build by folder does not.
NODE_PATH=${NODE_PATH:-/usr/share/nodejs} cmake --build "$work/web" -j "$jobs" >/dev/null || exit 2
echo "== packages of the second builds"
rm -rf "$work/dist"
scripts/package.sh "$work/linux" "$work/mingw" "$work/dist" "$work/web" || exit 2

# entries ARCHIVE: one line per entry, its name and the SHA-256 of its bytes.
entries() {
    t=$(mktemp -d) || exit 2
    case "$1" in
    *.zip) unzip -q "$1" -d "$t" ;;
    *.tar.gz) tar -xzf "$1" -C "$t" ;;
    esac
    (cd "$t" && find . -type f | sort | xargs sha256sum)
    rm -rf "$t"
}
status=0
for f in $(cd "$dist" && ls); do
    if cmp -s "$dist/$f" "$work/dist/$f"; then
        echo "identical: $f"
    else
        status=1
        echo "DIFFERENT: $f"
        case "$f" in
        *.zip | *.tar.gz)
            entries "$dist/$f" >"$work/dist/$f.first"
            entries "$work/dist/$f" >"$work/dist/$f.second"
            diff "$work/dist/$f.first" "$work/dist/$f.second" | sed 's/^/  /'
            ;;
        *.html)
            # Where they part, with some text around it: a path, a date, a name.
            at=$(cmp "$dist/$f" "$work/dist/$f" | sed -n 's/.* byte \([0-9]*\).*/\1/p')
            [ -n "$at" ] || at=1
            from=$((at > 60 ? at - 60 : 1))
            echo "  first difference at byte $at:"
            for g in "$dist/$f" "$work/dist/$f"; do
                printf '  %s: ' "$g"
                tail -c "+$from" "$g" | head -c 160 | tr -c '[:print:]' '.'
                echo
            done
            ;;
        esac
    fi
done
[ "$(ls "$dist" | tr '\n' ' ')" = "$(ls "$work/dist" | grep -v '\.first$\|\.second$' | tr '\n' ' ')" ] ||
    { echo "DIFFERENT: the two sets of files"; status=1; }
[ $status = 0 ] && echo "rebuild-and-compare: PASS, the archives are the same bytes" ||
    echo "rebuild-and-compare: FAIL"
exit $status
