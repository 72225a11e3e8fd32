#!/usr/bin/env bash
# package.sh - makes the release archives from a built Linux tree and a built
# Windows cross build:
#
#   scripts/package.sh LINUX_BUILD MINGW_BUILD OUT_DIR
#
#   OUT_DIR/vantorel-V-win32.zip             vantorel.p, vantorel-host.exe,
#                                            INSTALL.txt, LICENSE.txt (CRLF)
#   OUT_DIR/vantorel-V-linux-ARCH.tar.gz     the tree cmake --install --strip
#                                            makes, in vantorel-V-linux-ARCH/
#   OUT_DIR/SHA256SUMS                       the SHA-256 sum of both
#
# V is the project version both builds were configured with. The archives are
# the same bytes for the same binaries: every entry has the time
# SOURCE_DATE_EPOCH (default: the time of the last commit), entries are
# sorted, owners are 0 with no names, modes are normalised, and gzip stores
# no name or time. scripts/build.sh package makes the builds and calls this.
# Needs: cmake, tar (GNU), gzip, zip, sha256sum.
# Exit status: 0 written, 1 a step failed, 2 usage or missing build.
set -euo pipefail

usage() { sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; }
die() { echo "package: $*" >&2; exit 2; }

case "${1:-}" in
-h | --help) usage; exit 0 ;;
esac
[ $# -eq 3 ] || { usage >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "$1" 2>/dev/null && pwd) || die "no Linux build folder '$1'"
mingw=$(cd "$2" 2>/dev/null && pwd) || die "no Windows build folder '$2'"
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
stage=$(mktemp -d) || exit 1
trap 'rm -rf "$stage"' EXIT
rm -f "$out/$win_name" "$out/$linux_name" "$out/SHA256SUMS"

# ---- Linux: the installed tree ---------------------------------------------
cmake --install "$linux" --prefix "$stage/$linux_dir" --strip >/dev/null
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode=u=rwX,go=rX --format=gnu -C "$stage" -cf - "$linux_dir" | gzip -9 -n >"$out/$linux_name"

# ---- Windows: the DLL, the host, and two texts with Windows line ends -------
mkdir "$stage/win"
cp "$mingw/vantorel.p" "$mingw/vantorel-host.exe" "$stage/win/"
crlf() { sed -e 's/\r$//' -e 's/$/\r/'; }
sed "s/@VERSION@/$version/g" "$root/packaging/INSTALL.txt" | crlf >"$stage/win/INSTALL.txt"
crlf <"$root/LICENSE" >"$stage/win/LICENSE.txt"
chmod 644 "$stage/win/"*
touch -d "@$SOURCE_DATE_EPOCH" "$stage/win/"*
# -X: no extra fields (owners, extended times); the names in a fixed order.
(cd "$stage/win" && zip -X -9 -q "$out/$win_name" INSTALL.txt LICENSE.txt vantorel-host.exe vantorel.p)

(cd "$out" && sha256sum "$win_name" "$linux_name" >SHA256SUMS)
echo "package: wrote to $out (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
(cd "$out" && for f in "$win_name" "$linux_name"; do
    printf '  %-40s %9s bytes  sha256 %s\n' "$f" "$(wc -c <"$f" | tr -d ' ')" "$(sha256sum "$f" | cut -d' ' -f1)"
done)
