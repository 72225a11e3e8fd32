#!/bin/sh
# check-packages.sh - unpacks the release archives in DIST and checks them:
#   SHA256SUMS matches both archives and the page, and lists nothing else;
#   the zip holds exactly INSTALL.txt, LICENSE.txt, vantorel-host.exe,
#   vantorel.html and vantorel.p; the DLL passes check-dll.sh with the
#   version; INSTALL.txt and LICENSE.txt have CRLF line ends and INSTALL.txt
#   says what a Layout user needs (adding, running, SSE2, removing, what was
#   and was not verified, the page in a browser, offline);
#   the zip's vantorel.html is the same bytes as DIST's vantorel-V-web.html,
#   names version V, and, with Chromium there, opens from the unpacked zip
#   on the built-in scene's lights;
#   the tarball holds one folder with the installed tree, owned by 0/0, and
#   its vantorel-host runs the demo from the unpacked tree, elsewhere;
#   with wine on the PATH, the zip's vantorel-host.exe runs the demo with the
#   zip's vantorel.p and sends the same commands as the Linux one.
#
# Usage: check-packages.sh DIST VERSION
# Environment: WINEPREFIX (a prepared Wine prefix; default: Wine's own),
#              SKIP_WINE=1 to leave the Wine run out,
#              CHROMIUM (default /usr/bin/chromium).
# Exit status: 0 all checks passed, 1 a check failed, 2 usage or set-up error.
set -u
case "${1:-}" in
-h | --help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
[ $# -eq 2 ] || { echo "usage: $0 DIST VERSION" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" 2>/dev/null && pwd) || { echo "check-packages: no folder '$1'" >&2; exit 2; }
version=$2
arch=$(uname -m)
zip=vantorel-$version-win32.zip
tgz=vantorel-$version-linux-$arch.tar.gz
html=vantorel-$version-web.html
for f in "$zip" "$tgz" "$html" SHA256SUMS; do
    [ -f "$dist/$f" ] || { echo "check-packages: no $dist/$f; run scripts/build.sh package" >&2; exit 2; }
done
for tool in unzip tar sha256sum; do
    command -v "$tool" >/dev/null 2>&1 || { echo "check-packages: $tool not found" >&2; exit 2; }
done
tmp=$(mktemp -d) || exit 2
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }

(cd "$dist" && sha256sum -c --quiet SHA256SUMS) && ok "SHA256SUMS" || fail "SHA256SUMS does not match the archives"
[ "$(cut -d' ' -f3 "$dist/SHA256SUMS" | sort | tr '\n' ' ')" = "$(printf '%s\n' "$tgz" "$zip" "$html" | sort | tr '\n' ' ')" ] ||
    fail "SHA256SUMS does not list exactly the two archives and the page"

# ---- The Windows zip ---------------------------------------------------------
entries=$(unzip -Z1 "$dist/$zip" | tr '\n' ' ')
[ "$entries" = "INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.html vantorel.p " ] &&
    ok "zip entries: $entries" || fail "zip entries are '$entries'"
mkdir "$tmp/win" && unzip -q "$dist/$zip" -d "$tmp/win" || fail "cannot unpack $zip"
if sh "$here/../windows/check-dll.sh" --version "$version" "$tmp/win/vantorel.p" >"$tmp/check-dll.log" 2>&1; then
    ok "the zip's vantorel.p passes check-dll.sh"
else
    cat "$tmp/check-dll.log"
    fail "the zip's vantorel.p fails check-dll.sh"
fi
for t in INSTALL.txt LICENSE.txt; do
    lines=$(wc -l <"$tmp/win/$t")
    crlf=$(grep -c "$(printf '\r')\$" "$tmp/win/$t")
    if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] && [ -z "$(tail -c 1 "$tmp/win/$t" | tr -d '\n')" ]; then
        ok "$t: $lines lines, every one ends in CRLF"
    else
        fail "$t: $crlf of $lines lines end in CRLF"
    fi
done
grep -q "Permission is hereby granted" "$tmp/win/LICENSE.txt" || fail "LICENSE.txt is not the MIT license"
for phrase in "Vantorel $version" "Plug-ins > Add Plug-ins" "Plug-ins > Generics" '"vantorel"' "SSE2" \
    "Removing it" "Delete the file vantorel.p" "Wine" "NOT been tested inside LightWave 6.5 Layout" \
    "vantorel.html" "Trying it in a web browser" "It works offline"; do
    grep -qF "$phrase" "$tmp/win/INSTALL.txt" || fail "INSTALL.txt does not say '$phrase'"
done
grep -q "@[A-Z]*@" "$tmp/win/INSTALL.txt" && fail "INSTALL.txt has an unreplaced @...@"

# ---- The page, in dist and in the zip ---------------------------------------
cmp -s "$dist/$html" "$tmp/win/vantorel.html" && ok "the zip's vantorel.html is $html, byte for byte" ||
    fail "the zip's vantorel.html differs from $html"
grep -qF "<meta name=\"generator\" content=\"Vantorel $version\">" "$dist/$html" && ok "$html names version $version" ||
    fail "$html does not name version $version"
grep -q "@VERSION@\|@PAGE_CSS@\|@MODULE_JS@\|@PAGE_JS@" "$dist/$html" && fail "$html has an unreplaced @...@ mark"
# Opened as a user opens it: from the unpacked zip, offline, in a browser of
# its own profile; the DOM once the module has started holds the table.
chromium=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$chromium" ]; then
    echo "SKIPPED: the zip's vantorel.html was not opened ($chromium is missing; set CHROMIUM)"
elif timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --no-first-run --disable-sync \
    --disable-background-networking --disable-component-update --user-data-dir="$tmp/chromium" \
    --virtual-time-budget=20000 --dump-dom "file://$tmp/win/vantorel.html" >"$tmp/page.dom" 2>"$tmp/chromium.log"; then
    # A cell holding the first light's name, whatever attributes the cells carry.
    if grep -qE '<td[^>]*>Key</td>' "$tmp/page.dom" && grep -qF 'The built-in scene is open' "$tmp/page.dom"; then
        ok "the zip's vantorel.html opens in Chromium on the built-in scene ($(grep -oE '<tr[^>]*><td' "$tmp/page.dom" | wc -l | tr -d ' ') lights)"
    else
        sed -n 's/.*\(<p id="message"[^<]*<\/p>\).*/  \1/p' "$tmp/page.dom"
        fail "the zip's vantorel.html opened in Chromium without the built-in scene's lights"
    fi
else
    tail -n 5 "$tmp/chromium.log"
    fail "Chromium could not open the zip's vantorel.html"
fi

# ---- The Linux tarball -------------------------------------------------------
top=vantorel-$version-linux-$arch
listing=$(tar -tzvf "$dist/$tgz") || fail "cannot list $tgz"
printf '%s\n' "$listing" | awk -v top="$top/" '$2 != "0/0" || index($6, top) != 1 { bad = 1; print "  " $0 } END { exit bad }' &&
    ok "tarball: every entry in $top/, owned by 0/0" || fail "tarball entries outside $top/ or not owned by 0/0"
mkdir "$tmp/linux" "$tmp/elsewhere" && tar -xzf "$dist/$tgz" -C "$tmp/linux" || fail "cannot unpack $tgz"
tree=$tmp/linux/$top
for f in bin/vantorel-host lib/vantorel/vantorel.p share/man/man1/vantorel-host.1 \
    share/doc/vantorel/README.md share/doc/vantorel/LICENSE; do
    [ -f "$tree/$f" ] || fail "the tarball has no $top/$f"
done
if (cd "$tmp/elsewhere" && "$tree/bin/vantorel-host" >"$tmp/linux-demo.out" 2>"$tmp/linux-demo.err"); then
    ok "the unpacked vantorel-host ran the demo ($(wc -l <"$tmp/linux-demo.out" | tr -d ' ') commands)"
else
    cat "$tmp/linux-demo.err"
    fail "the unpacked vantorel-host cannot run the demo"
fi
[ -s "$tmp/linux-demo.out" ] || fail "the demo sent no commands"
first=$("$tree/bin/vantorel-host" --version | head -n 1)
[ "$first" = "vantorel-host $version" ] && ok "--version: $first" || fail "--version says '$first'"

# ---- The zip's programs under Wine ------------------------------------------
if [ "${SKIP_WINE:-0}" = 1 ] || ! command -v wine >/dev/null 2>&1 || ! WINEDEBUG=-all wine --version >/dev/null 2>&1; then
    echo "SKIPPED: the zip's vantorel-host.exe was not run (no wine, wine cannot run 32-bit programs on this kernel, or SKIP_WINE=1)"
else
    if (cd "$tmp/win" && WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" DISPLAY= \
        wine vantorel-host.exe </dev/null >"$tmp/wine-demo.out" 2>"$tmp/wine-demo.err"); then
        if cmp -s "$tmp/linux-demo.out" "$tmp/wine-demo.out"; then
            ok "under Wine the zip's vantorel-host.exe and vantorel.p ran the demo with the same commands"
        else
            fail "under Wine the demo sent other commands than on Linux"
        fi
    else
        cat "$tmp/wine-demo.err"
        fail "the zip's vantorel-host.exe cannot run the demo under Wine"
    fi
fi

[ $status = 0 ] && echo "check-packages: PASS $dist" || echo "check-packages: FAIL $dist"
exit $status
