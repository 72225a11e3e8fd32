#!/usr/bin/env bash
# package.sh - makes the release archives from a built Linux tree, a built
# Windows cross build and, when given, the browser page's build:
#
#   scripts/package.sh LINUX_BUILD MINGW_BUILD OUT_DIR [WEB_BUILD]
#
#   OUT_DIR/vantorel-V-win32.zip             vantorel.p, vantorel-host.exe,
#                                            INSTALL.txt, LICENSE.txt (CRLF),
#                                            and vantorel.html (the page)
#   OUT_DIR/vantorel-V-linux-ARCH.tar.gz     the tree cmake --install --strip
#                                            makes, in vantorel-V-linux-ARCH/
#   OUT_DIR/vantorel-V-web.html              the page, WEB_BUILD/vantorel.html
#   OUT_DIR/SHA256SUMS                       the SHA-256 sum of each
#
# V is the project version every build was configured with. Without
# WEB_BUILD (the web preset's folder, build/web) there is no page: the zip
# lacks it, and a warning says so. The archives are the same bytes for the
# same binaries: every entry has the time SOURCE_DATE_EPOCH (default: the
# time of the last commit), entries are sorted, owners are 0 with no names,
# modes are normalised, and gzip stores no name or time. scripts/build.sh
# package makes the builds and calls this.
# Needs: cmake, tar (GNU), gzip, zip, sha256sum.
# Exit status: 0 written, 1 a step failed, 2 usage or missing build.
set -euo pipefail

usage() { sed -n '2,23p' "$0" | sed 's/^# \{0,1\}//'; }
die() { echo "package: $*" >&2; exit 2; }

case "${1:-}" in
-h | --help) usage; exit 0 ;;
esac
[ $# -eq 3 ] || [ $# -eq 4 ] || { usage >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "$1" 2>/dev/null && pwd) || die "no Linux build folder '$1'"
mingw=$(cd "$2" 2>/dev/null && pwd) || die "no Windows build folder '$2'"
web=
if [ $# -eq 4 ]; then
    web=$(cd "$4" 2>/dev/null && pwd) || die "no web build folder '$4' (scripts/build.sh web makes build/web)"
fi
mkdir -p "$3" || die "cannot make the folder '$3'"
out=$(cd "$3" && pwd)
for tool in cmake tar gzip zip sha256sum; do
    command -v "$tool" >/dev/null 2>&1 || die "$tool not found (scripts/build.sh package installs what is missing)"
done

cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt" 2>/dev/null | head -n 1; }
version=$(cache_value "$linux" CMAKE_PROJECT_VERSION)
[ -n "$version" ] || die "$linux is not a configured build (no CMakeCache.txt with a project version)"
[ "$(cache_value "$mingw" CMAKE_PROJECT_VERSION)" = "$version" ] ||
    die "$mingw is not a build of version $version; build both from the same sources"
for f in "$linux/vantorel-host" "$linux/vantorel.p" "$mingw/vantorel.p" "$mingw/vantorel-host.exe"; do
    [ -f "$f" ] || die "missing $f; build both trees first"
done
if [ -n "$web" ]; then
    [ "$(cache_value "$web" CMAKE_PROJECT_VERSION)" = "$version" ] ||
        die "$web is not a build of version $version; build the page from the same sources (scripts/build.sh web)"
    [ -f "$web/vantorel.html" ] || die "missing $web/vantorel.html; build the page first (scripts/build.sh web)"
    # The page says its version; one of another version is a stale page.
    grep -qF "<meta name=\"generator\" content=\"Vantorel $version\">" "$web/vantorel.html" ||
        die "$web/vantorel.html is not the page of version $version; build it again (scripts/build.sh web)"
fi

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
        die "not a git checkout: set SOURCE_DATE_EPOCH to the release time (seconds since 1970)"
fi
export SOURCE_DATE_EPOCH
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    echo "package: warning: the checkout has uncommitted changes; the archives are not those of the last commit" >&2
fi
# zip stores local times: one time zone, whoever packages.
export TZ=UTC LC_ALL=C

arch=$(uname -m)
win_name=vantorel-$version-win32.zip
linux_dir=vantorel-$version-linux-$arch
linux_name=$linux_dir.tar.gz
web_name=vantorel-$version-web.html
stage=$(mktemp -d) || exit 1
trap 'rm -rf "$stage"' EXIT
# A page left from an earlier run would sit beside archives it does not belong to.
rm -f "$out/$win_name" "$out/$linux_name" "$out/$web_name" "$out/SHA256SUMS"

# ---- Linux: the installed tree ---------------------------------------------
cmake --install "$linux" --prefix "$stage/$linux_dir" --strip >/dev/null
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode=u=rwX,go=rX --format=gnu -C "$stage" -cf - "$linux_dir" | gzip -9 -n >"$out/$linux_name"

# ---- The page: one file, as built ------------------------------------------
names=("$win_name" "$linux_name")
if [ -n "$web" ]; then
    cp "$web/vantorel.html" "$out/$web_name"
    chmod 644 "$out/$web_name"
    names+=("$web_name")
else
    echo "package: warning: no web build folder given; the zip has no vantorel.html and there is no $web_name" >&2
fi

# ---- Windows: the DLL, the host, the page, and two texts with Windows line ends
mkdir "$stage/win"
cp "$mingw/vantorel.p" "$mingw/vantorel-host.exe" "$stage/win/"
win_entries=(INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.p)
if [ -n "$web" ]; then
    cp "$web/vantorel.html" "$stage/win/vantorel.html"
    win_entries=(INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.html vantorel.p)
fi
crlf() { sed -e 's/\r$//' -e 's/$/\r/'; }
# The lines between @PAGE@ and @ENDPAGE@ speak of the page: kept only with it.
if [ -n "$web" ]; then page_lines='/^@\(END\)\{0,1\}PAGE@$/d'; else page_lines='/^@PAGE@$/,/^@ENDPAGE@$/d'; fi
sed -e "$page_lines" -e "s/@VERSION@/$version/g" "$root/packaging/INSTALL.txt" | crlf >"$stage/win/INSTALL.txt"
crlf <"$root/LICENSE" >"$stage/win/LICENSE.txt"
chmod 644 "$stage/win/"*
touch -d "@$SOURCE_DATE_EPOCH" "$stage/win/"*
# -X: no extra fields (owners, extended times); the names in a fixed order.
(cd "$stage/win" && zip -X -9 -q "$out/$win_name" "${win_entries[@]}")

(cd "$out" && sha256sum "${names[@]}" >SHA256SUMS)
echo "package: wrote to $out (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
(cd "$out" && for f in "${names[@]}"; do
    printf '  %-40s %9s bytes  sha256 %s\n' "$f" "$(wc -c <"$f" | tr -d ' ')" "$(sha256sum "$f" | cut -d' ' -f1)"
done)
