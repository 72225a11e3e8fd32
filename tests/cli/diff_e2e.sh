#!/usr/bin/env bash
# diff_e2e.sh - vantorel-host --diff end to end, checked with GNU patch.
#
#   diff_e2e.sh HOST FIXTURES SCENES WORKDIR
#
# HOST the vantorel-host to test, FIXTURES tests/scenefile/fixtures, SCENES the
# folder of real scene files (skipped with a message when it holds none),
# WORKDIR a folder to work in (emptied first).
#
# 1. The same session with --diff and with --save: patch applied to the scene
#    gives exactly the bytes --save wrote. For LF, CRLF and lone-CR files, a
#    file without a final line end and a cp1252 name; for every real scene an
#    unedited OK and one edit. --diff writes no file and stdout holds the diff
#    alone (no Layout command).
# 2. Cancel and an unchanged result: empty stdout, stderr says why.
# 3. A paste that sends LightRange for a light whose falloff is off: the same
#    warning with --save and --diff.
# 4. Usage: --diff without --scene, with --save, with --shell, with --list.
# 5. Standard output that cannot be written: exit 4.
# Exit status: 0 pass, 1 a check failed, 2 usage.
set -u
if [ $# -ne 4 ]; then
    sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
host=$1 fixtures=$2 scenes=$3 work=$4
command -v patch >/dev/null || { echo "FAIL: GNU patch is missing (apt-get install patch)"; exit 1; }
. "$(dirname "$0")/../support/host_checks.sh"
fresh_work
has() { grep -qF -- "$1" "$work/stderr"; }

# check NAME SCENE SCRIPT: --diff and --save of the same session agree through patch.
check() {
    local name=$1 scene=$2 script=$3 dir=$work/$1
    mkdir -p "$dir"
    run --scene "$scene" --script "$script" --save "$dir/saved.lws"
    [ "$rc" = 0 ] || { problem "$name: --save exit $rc: $(cat "$work/stderr")"; return; }
    grep '^warning: ' "$work/stderr" >"$dir/save-warnings"
    run --scene "$scene" --script "$script" --diff
    [ "$rc" = 0 ] || { problem "$name: --diff exit $rc: $(cat "$work/stderr")"; return; }
    cp "$work/stdout" "$dir/d.diff"
    grep '^warning: ' "$work/stderr" >"$dir/diff-warnings"
    cmp -s "$dir/save-warnings" "$dir/diff-warnings" || problem "$name: --diff warns otherwise than --save"
    if grep -qE '^(EditLights|SelectItem)' "$dir/d.diff"; then problem "$name: Layout commands in the diff's stdout"; fi
    cp "$scene" "$dir/patched.lws"
    chmod u+w "$dir/patched.lws"
    if cmp -s "$scene" "$dir/saved.lws"; then
        [ -s "$dir/d.diff" ] && problem "$name: a diff although --save writes the file unchanged"
        has "the diff is empty" || problem "$name: stderr does not say the diff is empty"
        return
    fi
    [ -s "$dir/d.diff" ] || { problem "$name: no diff although --save changes the file"; return; }
    local base
    base=$(basename "$scene")
    [ "$(head -n 2 "$dir/d.diff")" = "$(printf -- '--- a/%s\n+++ b/%s' "$base" "$base")" ] ||
        problem "$name: the header lines are $(head -n 2 "$dir/d.diff" | tr '\n' ' ')"
    if ! patch -s --no-backup-if-mismatch "$dir/patched.lws" <"$dir/d.diff" >"$dir/patch.out" 2>&1; then
        problem "$name: patch refused the diff: $(cat "$dir/patch.out")"
        return
    fi
    cmp -s "$dir/patched.lws" "$dir/saved.lws" || problem "$name: the patched scene differs from what --save wrote"
    # As a user would apply it, from the scene's folder with -p1.
    mkdir -p "$dir/p1"
    cp "$scene" "$dir/p1/$base"
    chmod u+w "$dir/p1/$base"
    (cd "$dir/p1" && patch -s -p1 --no-backup-if-mismatch <"$dir/d.diff") >"$dir/patch.out" 2>&1 ||
        problem "$name: patch -p1 refused the diff: $(cat "$dir/patch.out")"
    cmp -s "$dir/p1/$base" "$dir/saved.lws" || problem "$name: patch -p1 gave other bytes than --save"
}

# A script that selects the lights whose names start like the first one's.
edit_script() {  # edit_script SCENE OUT
    local prefix
    prefix=$(tr '\r' '\n' <"$1" | grep -a -m1 '^LightName ' | sed 's/^LightName \(..\).*/\1/')
    printf 'prefix "%s"\nintensity 40\ncolor 10 200 30\nlighttype Point\nok\n' "$prefix" >"$2"
}
printf 'ok\n' >"$work/ok.vts"
printf 'cancel\n' >"$work/cancel.vts"

# 1. Line ends and bytes, from an LWSC 3 fixture.
v3=$fixtures/v3.lws
tr -d '\r' <"$v3" >"$work/lf.lws"
sed 's/$/\r/' "$work/lf.lws" >"$work/crlf.lws"
tr '\n' '\r' <"$work/lf.lws" >"$work/cr.lws"
head -c -1 "$work/lf.lws" >"$work/no-final-eol.lws"
sed 's/^LightName \(.*\)$/LightName \1 Lumi\xe8re/; s/$/\r/' "$work/lf.lws" >"$work/cp1252.lws"
for variant in lf crlf cr no-final-eol cp1252; do
    edit_script "$work/$variant.lws" "$work/$variant.vts"
    check "$variant-edit" "$work/$variant.lws" "$work/$variant.vts"
    check "$variant-ok" "$work/$variant.lws" "$work/ok.vts"
done
run --scene "$work/cr.lws" --script "$work/cr.vts" --diff
has "carriage return alone" || problem "lone CR: stderr does not say why the lines are joined"
run --scene "$work/crlf.lws" --script "$work/crlf.vts" --diff
grep -q $'^-LightIntensity .*\r$' "$work/stdout" || problem "crlf: a changed line does not show its CR"
for f in "$fixtures"/v[1-5].lws; do
    edit_script "$f" "$work/$(basename "$f" .lws).vts"
    check "fixture-$(basename "$f" .lws)" "$f" "$work/$(basename "$f" .lws).vts"
done

# Every real scene: an unedited OK (the plug-in renormalises some lights) and an edit.
shopt -s nullglob
real=("$scenes"/*.lws)
if [ "${#real[@]}" = 0 ]; then
    echo "SKIPPED: no real scene files in $scenes (the fixtures were checked)"
else
    for scene in "${real[@]}"; do
        name=$(basename "$scene" .lws)
        check "$name-ok" "$scene" "$work/ok.vts"
        edit_script "$scene" "$work/$name.vts"
        check "$name-edit" "$scene" "$work/$name.vts"
    done
fi
[ -z "$(find "$work" -name '*.orig' -o -name '*.rej')" ] || problem "patch left .orig or .rej files"

# --diff writes nothing: the work folder gains no file.
before=$(find "$work" | sort | md5sum)
run --scene "$work/lf.lws" --script "$work/lf.vts" --diff
[ "$(find "$work" | sort | md5sum)" = "$before" ] || problem "--diff wrote a file"

# 2. Cancel, and nothing to change.
run --scene "$work/lf.lws" --script "$work/cancel.vts" --diff
[ "$rc" = 0 ] && [ ! -s "$work/stdout" ] || problem "cancel: exit $rc, stdout $(wc -c <"$work/stdout") bytes"
has "the panel was cancelled" || problem "cancel: stderr does not say the panel was cancelled"
run --scene "$fixtures/v4.lws" --script "$work/ok.vts" --diff
[ "$rc" = 0 ] && [ ! -s "$work/stdout" ] || problem "unchanged: exit $rc, stdout $(wc -c <"$work/stdout") bytes"
has "unchanged, byte for byte" || problem "unchanged: stderr does not say so"

# 3. Paste carries the limited-range flag onto a light whose falloff is off.
printf 'click Pulse\ncopy\nclear\nclick Key\npaste\nok\n' >"$work/paste.vts"
check paste "$fixtures/v1.lws" "$work/paste.vts"
has 'light 1 "Key": its range is set to 12.5' || problem "paste: no warning about the range of Key"
grep -q '^+LightRange 12.5' "$work/stdout" || problem "paste: the diff does not show the range written"

# 4. Usage.
expect_usage() {  # expect_usage TEXT ARGS...
    local text=$1
    shift
    run "$@"
    [ "$rc" = 2 ] || problem "$* : exit $rc, expected 2"
    has "$text" || problem "$* : stderr lacks '$text': $(cat "$work/stderr")"
}
expect_usage "--diff shows what --save would write over the --scene file; add --scene" --diff
expect_usage "give one of them" --scene "$work/lf.lws" --diff --save "$work/x.lws"
expect_usage "Show changes" --window --shell --scene "$work/lf.lws" --diff
expect_usage "--list only reads" --scene "$work/lf.lws" --list --diff
[ -e "$work/x.lws" ] && problem "--diff --save wrote a file"

# 5. Standard output that cannot take the diff.
"$host" --scene "$work/lf.lws" --script "$work/lf.vts" --diff >/dev/full 2>"$work/stderr"
rc=$?
[ "$rc" = 4 ] || problem "--diff >/dev/full: exit $rc, expected 4"

verdict "PASS"
