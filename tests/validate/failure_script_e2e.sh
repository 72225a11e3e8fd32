#!/usr/bin/env bash
# failure_script_e2e.sh - vantorel-host --validate --failure-script end to end.
#
#   failure_script_e2e.sh HOST BROKEN FORGETFUL PLUGIN WORKDIR
#
# HOST the vantorel-host to test, BROKEN and FORGETFUL the stand-ins with a
# faulty apply step and a scan that forgets the copy buffer, PLUGIN the real
# plug-in, WORKDIR a folder to work in (emptied first).
#
# 1. BROKEN fails: F.vts and F.lws are written; the command on F.vts's first
#    line replays it and exits 1; with PLUGIN in its place it exits 0. F.lws
#    is a scene file --list reads.
# 2. FORGETFUL's failure needs two activations: no file, stderr says why and
#    prints the session.
# 3. PLUGIN passes: nothing is written, stderr says so.
# 4. Usage: a name ending in .lws, a missing folder, the plug-in's own name,
#    no --validate: exit 2, nothing run or written.
# Exit status: 0 pass, 1 a check failed, 2 usage.
set -u
if [ $# -ne 5 ]; then
    sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
host=$1 broken=$2 forgetful=$3 plugin=$4 work=$5
. "$(dirname "$0")/../support/host_checks.sh"
fresh_work
has() { grep -qF -- "$2" "$work/$1"; }

# 1. A failure that replays.
run --validate --plugin "$broken" --seed 11 --runs 40 --failure-script "$work/F.vts"
[ "$rc" = 1 ] || problem "broken: exit $rc, expected 1"
[ -s "$work/F.vts" ] && [ -s "$work/F.lws" ] || problem "broken: F.vts and F.lws were not both written"
has stderr "vantorel-host: note: the first failure is in $work/F.vts, its scene in $work/F.lws; replay it with: vantorel-host --plugin" ||
    problem "broken: stderr does not say where the failure is"
has stdout "  its session script, written to $work/F.vts:" || problem "broken: the report does not print the script"
line=$(head -n 1 "$work/F.vts")
case $line in
"# replay: vantorel-host --plugin $broken --scene $work/F.lws --script $work/F.vts") ;;
*) problem "broken: first line of F.vts is '$line'" ;;
esac
grep -q '^expect command 1 EditLights$' "$work/F.vts" || problem "broken: F.vts has no expect line for the first command"
eval "set -- ${line#\# replay: vantorel-host }"
run "$@"
[ "$rc" = 1 ] || problem "broken: the replay exits $rc, expected 1"
has stderr "F.vts:" || problem "broken: the replay's failure names no line of F.vts"
# The same script on the real plug-in passes.
shift 2
run --plugin "$plugin" "$@"
[ "$rc" = 0 ] || { problem "broken: the replay on the real plug-in exits $rc, expected 0"; cat "$work/stderr"; }
run --scene "$work/F.lws" --list
[ "$rc" = 0 ] && has stdout "F.lws: LWSC 5, " || problem "broken: --list does not read F.lws (exit $rc)"

# 2. A failure that needs two activations: no files.
run --validate --plugin "$forgetful" --seed 11 --runs 0 --failure-script "$work/G.vts"
[ "$rc" = 1 ] || problem "forgetful: exit $rc, expected 1"
[ -e "$work/G.vts" ] || [ -e "$work/G.lws" ] && problem "forgetful: a failure file was written"
has stderr "vantorel-host: warning: no failure script was written: the failure needs 2 activations of one loaded library" ||
    problem "forgetful: stderr does not say why no script was written"
has stderr "vantorel-host: warning:   activation 2, " || problem "forgetful: stderr does not print the session"

# 3. All passed: nothing written.
run --validate --plugin "$plugin" --seed 11 --runs 5 --failure-script "$work/H.vts"
[ "$rc" = 0 ] || problem "real plug-in: exit $rc, expected 0"
[ -e "$work/H.vts" ] || [ -e "$work/H.lws" ] && problem "real plug-in: a failure file was written"
has stderr "vantorel-host: note: every check passed; no failure script was written" ||
    problem "real plug-in: stderr does not say that nothing was written"

# 4. Usage errors stop before the validation runs.
usage() {
    local what=$1 expect=$2
    shift 2
    run "$@"
    [ "$rc" = 2 ] || problem "$what: exit $rc, expected 2"
    has stderr "$expect" || problem "$what: stderr lacks '$expect'"
    has stdout "PASS" && problem "$what: the validation ran"
}
usage ".lws name" "ends in .lws, the name of the scene written beside it" \
    --validate --plugin "$broken" --failure-script "$work/F.lws"
usage "missing folder" "$work/no-such-folder/F.vts" \
    --validate --plugin "$broken" --failure-script "$work/no-such-folder/F.vts"
cp "$plugin" "$work/copy.lws"
usage "the plug-in's name" "the failure script's scene would overwrite the plug-in" \
    --validate --plugin "$work/copy.lws" --failure-script "$work/copy.vts"
usage "without --validate" "--failure-script goes with --validate" --failure-script "$work/F.vts"

verdict "all passed"
