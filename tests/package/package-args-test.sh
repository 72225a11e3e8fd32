#!/bin/sh
# package-args-test.sh - scripts/package.sh on stand-in build folders (a
# CMakeCache.txt with the version, files of the right names, an install
# script that installs one file), so that it runs in a second: what goes into
# dist and the zip with and without the page, and the page folders it refuses
# before it touches dist. The real builds are packaged and checked by
# check-packages.sh and rebuild-and-compare.sh (scripts/test-extra.sh).
#
# Usage: package-args-test.sh
# Exit status: 0 passed, 1 a check failed, 77 zip or unzip is missing.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in zip unzip tar sha256sum cmake; do
    command -v "$tool" >/dev/null 2>&1 || { echo "package-args-test: skipped: $tool is missing"; exit 77; }
done
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
export SOURCE_DATE_EPOCH=1700000000
status=0
fail() { echo "FAIL: $*"; status=1; }

# build DIR VERSION: a stand-in configured build folder.
build() {
    mkdir -p "$1"
    printf 'CMAKE_PROJECT_VERSION:STATIC=%s\n' "$2" >"$1/CMakeCache.txt"
}
build "$tmp/linux" 2.0.0
echo host >"$tmp/linux/vantorel-host"
echo plugin >"$tmp/linux/vantorel.p"
echo 'file(INSTALL "${CMAKE_CURRENT_LIST_DIR}/vantorel-host" DESTINATION "${CMAKE_INSTALL_PREFIX}/bin")' \
    >"$tmp/linux/cmake_install.cmake"
build "$tmp/mingw" 2.0.0
echo dll >"$tmp/mingw/vantorel.p"
echo exe >"$tmp/mingw/vantorel-host.exe"
build "$tmp/web" 2.0.0
printf '<!DOCTYPE html>\n<meta name="generator" content="Vantorel 2.0.0">\n<title>Vantorel</title>\n' \
    >"$tmp/web/vantorel.html"

# package NAME EXPECTED_STATUS ARGS...: runs it, keeps stdout+stderr in $tmp/NAME.log.
package() {
    name=$1 want=$2
    shift 2
    bash "$root/scripts/package.sh" "$@" >"$tmp/$name.log" 2>&1
    got=$?
    [ "$got" = "$want" ] || { fail "$name: exit status $got, expected $want"; cat "$tmp/$name.log"; }
}
says() { grep -qF "$2" "$tmp/$1.log" || { fail "$1: does not say '$2'"; sed 's/^/  /' "$tmp/$1.log"; }; }

# ---- With the page: four files, three sums, the page in the zip ------------
package with 0 "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/web"
[ "$(ls "$tmp/dist" | tr '\n' ' ')" = "SHA256SUMS vantorel-2.0.0-linux-$(uname -m).tar.gz vantorel-2.0.0-web.html vantorel-2.0.0-win32.zip " ] ||
    fail "with the page: dist holds $(ls "$tmp/dist" | tr '\n' ' ')"
cmp -s "$tmp/web/vantorel.html" "$tmp/dist/vantorel-2.0.0-web.html" || fail "dist's page is not the built page"
(cd "$tmp/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(wc -l <"$tmp/dist/SHA256SUMS")" = 3 ] || fail "SHA256SUMS does not list three files"
[ "$(unzip -Z1 "$tmp/dist/vantorel-2.0.0-win32.zip" | tr '\n' ' ')" = \
    "INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.html vantorel.p " ] ||
    fail "with the page: zip entries $(unzip -Z1 "$tmp/dist/vantorel-2.0.0-win32.zip" | tr '\n' ' ')"
unzip -p "$tmp/dist/vantorel-2.0.0-win32.zip" vantorel.html | cmp -s - "$tmp/web/vantorel.html" ||
    fail "the zip's vantorel.html is not the built page"
unzip -p "$tmp/dist/vantorel-2.0.0-win32.zip" INSTALL.txt >"$tmp/install-with.txt"
grep -q "Trying it in a web browser" "$tmp/install-with.txt" || fail "with the page, INSTALL.txt does not tell of it"
grep -q "@" "$tmp/install-with.txt" && fail "with the page, INSTALL.txt keeps a @...@ mark"
tar -tzf "$tmp/dist/vantorel-2.0.0-linux-$(uname -m).tar.gz" | grep -q html && fail "the tarball carries the page"

# ---- Without it: the old three arguments, a warning, no page anywhere -------
cp -r "$tmp/dist" "$tmp/dist-before"
package without 0 "$tmp/linux" "$tmp/mingw" "$tmp/dist"
says without "warning: no web build folder given"
[ -e "$tmp/dist/vantorel-2.0.0-web.html" ] && fail "without the page: the earlier run's page is left in dist"
[ "$(wc -l <"$tmp/dist/SHA256SUMS")" = 2 ] || fail "without the page: SHA256SUMS does not list two files"
[ "$(unzip -Z1 "$tmp/dist/vantorel-2.0.0-win32.zip" | tr '\n' ' ')" = "INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.p " ] ||
    fail "without the page: zip entries $(unzip -Z1 "$tmp/dist/vantorel-2.0.0-win32.zip" | tr '\n' ' ')"
unzip -p "$tmp/dist/vantorel-2.0.0-win32.zip" INSTALL.txt >"$tmp/install-without.txt"
grep -q "vantorel.html\|web browser" "$tmp/install-without.txt" && fail "without the page, INSTALL.txt tells of it"
grep -q "@" "$tmp/install-without.txt" && fail "without the page, INSTALL.txt keeps a @...@ mark"
# The two texts differ by the page's lines alone.
[ "$(diff "$tmp/install-with.txt" "$tmp/install-without.txt" | grep -c '^>')" = 0 ] ||
    fail "INSTALL.txt without the page has lines the one with it lacks"

# ---- Page folders refused before dist is touched ---------------------------
rm -rf "$tmp/dist" && cp -r "$tmp/dist-before" "$tmp/dist"
refused() {
    name=$1 phrase=$2
    shift 2
    package "$name" 2 "$@"
    says "$name" "$phrase"
    diff -r "$tmp/dist-before" "$tmp/dist" >/dev/null || fail "$name: dist was changed"
}
refused no-folder "no web build folder '$tmp/nowhere'" "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/nowhere"
build "$tmp/web-old" 1.9.0
cp "$tmp/web/vantorel.html" "$tmp/web-old/"
refused other-version "is not a build of version 2.0.0" "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/web-old"
build "$tmp/web-empty" 2.0.0
refused no-page "missing $tmp/web-empty/vantorel.html" "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/web-empty"
build "$tmp/web-stale" 2.0.0
sed 's/2\.0\.0/1.9.0/' "$tmp/web/vantorel.html" >"$tmp/web-stale/vantorel.html"
refused stale-page "is not the page of version 2.0.0" "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/web-stale"
refused five-arguments "LINUX_BUILD MINGW_BUILD OUT_DIR [WEB_BUILD]" "$tmp/linux" "$tmp/mingw" "$tmp/dist" "$tmp/web" extra

# --help is the header comment, all of it and nothing of the code.
bash "$root/scripts/package.sh" --help >"$tmp/help.log" 2>&1 || fail "--help: exit status $?"
says help "OUT_DIR/vantorel-V-web.html"
tail -n 1 "$tmp/help.log" | grep -q "^Exit status:" || fail "--help does not end with the exit status: $(tail -n 1 "$tmp/help.log")"

[ $status = 0 ] && echo "package-args-test: PASS" || echo "package-args-test: FAIL"
exit $status
