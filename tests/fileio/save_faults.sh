#!/usr/bin/env bash
# save_faults.sh - vantorel-host's saves under failure, on the real binary.
#
#   save_faults.sh HOST FAULT_SHIM BROKEN_PIPE SCENE WORKDIR
#
# HOST the vantorel-host to test, FAULT_SHIM the LD_PRELOAD library of
# fault_shim.c, BROKEN_PIPE the helper of broken_pipe.c, SCENE an LWSC 3 scene
# file, WORKDIR a folder to work in (emptied first).
#
# 1. Every system call of a save over the --scene file fails in turn (open,
#    write with EIO, ENOSPC, a short write and a short write then ENOSPC, fsync,
#    close, rename, the folder's fsync): each time the original is byte-identical
#    with its permission bits, no temporary file is left, the exit status is 3
#    and stderr names the step. A short write alone still saves the whole file.
#    The same for --png over an existing picture.
# 2. A symbolic link, a FIFO and /dev/null as targets; an old file with the
#    temporary name of earlier versions is not touched.
# 3. The --scene file changed on disk before the save (a byte flipped with size
#    and time kept; a line appended): refused without --force, saved with it.
# 4. A read-only folder and a read-only file: refused before the session runs,
#    exit 2. Permission bits do not stop root, so as root these run as user
#    "nobody" (setpriv) when that user can reach HOST, and are skipped with a
#    message otherwise.
# 5. Standard output to /dev/full, closed, and a broken pipe: exit 4, with a
#    message; no crash by SIGPIPE.
# Exit status: 0 pass, 1 a check failed, 2 usage.
set -u
if [ $# -ne 5 ]; then
    sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
host=$1 shim=$2 broken_pipe=$3 scene=$4 work=$5
rm -rf "$work"
mkdir -p "$work/out" || exit 2
work=$(cd "$work" && pwd)
out=$work/out
problems=0
problem() {
    echo "FAIL: $*"
    problems=$((problems + 1))
}

# Under AddressSanitizer the shim cannot come first in the library list; it is
# itself built without the sanitizer, so the order does not matter here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

first=$(grep -m1 '^LightName ' "$scene" | sed 's/^LightName \(..\).*/\1/')
printf 'prefix "%s"\nintensity 25\nok\n' "$first" >"$work/edit.vts"

# run ARGS...: runs the host; sets rc and err (stderr), stdout to $work/stdout.
run() {
    "$host" "$@" >"$work/stdout" 2>"$work/stderr"
    rc=$?
    err=$(cat "$work/stderr")
}
leftovers() { ls -A "$1" | grep -E 'vantorel-(part|old)$'; }
has() { case "$err" in *"$1"*) return 0 ;; esac; return 1; }

# The edited scene, saved to a new name without any fault.
cp "$scene" "$work/reference-in.lws"
run --scene "$work/reference-in.lws" --script "$work/edit.vts" --save "$work/reference.lws"
[ "$rc" = 0 ] || { echo "the reference save failed (exit $rc): $err"; exit 1; }
cmp -s "$scene" "$work/reference.lws" && { echo "the edit changed nothing; cannot test"; exit 1; }

# ---- 1. Every call of the save fails in turn ---------------------------------
step_of() {
    case "$1" in
    open:1) echo "opening its folder" ;;
    open:2) echo "creating the temporary file" ;;
    write:*) echo "writing the new file" ;;
    fsync:1) echo "flushing the new file to the disk" ;;
    fsync:2) echo "flushing the folder to the disk" ;;
    close:1) echo "closing the new file" ;;
    rename:1) echo "renaming the new file over the old one" ;;
    esac
}
injected=0
for fault in open:EIO open:EACCES write:EIO write:ENOSPC write:shortnospc fsync:EIO close:EIO rename:EIO rename:EACCES; do
    call=${fault%%:*} what=${fault#*:}
    n=1
    while :; do
        cp "$scene" "$out/scene.lws" && chmod 640 "$out/scene.lws"
        VT_FAULT_DIR=$out/ VT_FAULT=$call:$n:$what LD_PRELOAD=$shim \
            run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws"
        if ! has "vt-fault: $call #$n"; then
            # Past the last such call: the save goes through.
            [ "$rc" = 0 ] || problem "$call:$n:$what did not fire, yet exit $rc: $err"
            cmp -s "$out/scene.lws" "$work/reference.lws" || problem "$call:$n:$what did not fire, yet the save is wrong"
            break
        fi
        injected=$((injected + 1))
        label="$call #$n fails with $what"
        [ "$rc" = 3 ] || problem "$label: exit $rc, expected 3"
        cmp -s "$out/scene.lws" "$scene" || problem "$label: the original changed"
        [ "$(stat -c %a "$out/scene.lws")" = 640 ] || problem "$label: the permission bits changed"
        [ -z "$(leftovers "$out")" ] || problem "$label: left $(leftovers "$out")"
        step=$(step_of "$call:$n")
        [ -n "$step" ] && ! has "the save failed while $step" && problem "$label: stderr does not name '$step': $err"
        has "was left as it was" || problem "$label: stderr does not say the file was left as it was: $err"
        n=$((n + 1))
        # Only the new file's close counts; a failed close of the folder after
        # a flush that succeeded loses nothing.
        [ "$call" = close ] && break
        [ $n -le 20 ] || { problem "$call fires more than 20 times"; break; }
    done
done
echo "fault injection: $injected failing calls, each left the original intact"

# A failed save of a file that was not there says that none was made; it
# cannot have been "left as it was".
rm -f "$out/new.lws"
VT_FAULT_DIR=$out/ VT_FAULT=rename:1:EIO LD_PRELOAD=$shim \
    run --scene "$scene" --script "$work/edit.vts" --save "$out/new.lws"
[ "$rc" = 3 ] && has "no file $out/new.lws was created" && ! has "left as it was" && [ ! -e "$out/new.lws" ] ||
    problem "a failed save of a new file: exit $rc, or it does not say that no file was made: $err"

# A short write alone is resumed: the whole file is saved.
cp "$scene" "$out/scene.lws" && chmod 640 "$out/scene.lws"
VT_FAULT_DIR=$out/ VT_FAULT=write:1:short LD_PRELOAD=$shim \
    run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws"
has "vt-fault: write #1" || problem "the short write did not fire"
[ "$rc" = 0 ] && cmp -s "$out/scene.lws" "$work/reference.lws" || problem "a short write: exit $rc, or the file is wrong"
[ "$(stat -c %a "$out/scene.lws")" = 640 ] || problem "a save does not keep the permission bits 640"

# Without hard links the old file cannot be put back after a failed folder
# flush: the save still says it failed, and the file holds the complete new bytes.
cp "$scene" "$out/scene.lws"
VT_FAULT_DIR=$out/ VT_FAULT=link:1:EPERM LD_PRELOAD=$shim \
    run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws"
[ "$rc" = 0 ] && cmp -s "$out/scene.lws" "$work/reference.lws" || problem "no hard link: exit $rc, or the file is wrong"

# --png over an existing picture.
printf 'old picture' >"$out/panel.png"
for fault in write:1:ENOSPC fsync:1:EIO rename:1:EIO; do
    VT_FAULT_DIR=$out/ VT_FAULT=$fault LD_PRELOAD=$shim run --script "$work/edit.vts" --png "$out/panel.png"
    [ "$rc" = 3 ] || problem "--png, $fault: exit $rc, expected 3"
    [ "$(cat "$out/panel.png")" = "old picture" ] || problem "--png, $fault: the old picture changed"
    [ -z "$(leftovers "$out")" ] || problem "--png, $fault: left $(leftovers "$out")"
done
# ... and a snapshot: the script fails there, exit 3.
printf 'snapshot "%s"\nok\n' "$out/panel.png" >"$work/snap.vts"
VT_FAULT_DIR=$out/ VT_FAULT=rename:1:EIO LD_PRELOAD=$shim run --script "$work/snap.vts"
[ "$rc" = 3 ] && [ "$(cat "$out/panel.png")" = "old picture" ] || problem "snapshot, rename fails: exit $rc, expected 3; $err"

# ---- 2. Links, FIFOs, devices, old temporary names --------------------------
mkdir -p "$work/real"
cp "$scene" "$work/real/scene.lws"
ln -sfn ../real/scene.lws "$out/link.lws"
run --scene "$out/link.lws" --script "$work/edit.vts" --save "$out/link.lws"
[ "$rc" = 0 ] || problem "save through a symbolic link: exit $rc: $err"
[ -L "$out/link.lws" ] || problem "the symbolic link was replaced by a file"
cmp -s "$work/real/scene.lws" "$work/reference.lws" || problem "the file the link points to was not saved"
[ -z "$(leftovers "$work/real")" ] || problem "a save through a link left $(leftovers "$work/real")"

for kind in save png; do
    rm -f "$out/fifo" "$work/fifo.got"
    mkfifo "$out/fifo"
    cat "$out/fifo" >"$work/fifo.got" &
    reader=$!
    if [ $kind = save ]; then
        run --scene "$scene" --script "$work/edit.vts" --save "$out/fifo"
    else
        run --scene "$scene" --script "$work/edit.vts" --png "$out/fifo"
    fi
    wait $reader
    [ "$rc" = 0 ] || problem "--$kind to a FIFO: exit $rc: $err"
    [ -p "$out/fifo" ] || problem "--$kind replaced the FIFO"
    if [ $kind = save ]; then
        cmp -s "$work/fifo.got" "$work/reference.lws" || problem "--save to a FIFO: the reader got other bytes"
    else
        [ "$(head -c 4 "$work/fifo.got" | tail -c 3)" = PNG ] || problem "--png to a FIFO: the reader got no PNG"
    fi
    run --scene "$scene" --script "$work/edit.vts" "--$kind" /dev/null
    [ "$rc" = 0 ] || problem "--$kind /dev/null: exit $rc: $err"
    [ -c /dev/null ] || problem "--$kind replaced /dev/null"
done
run --scene "$scene" --script "$work/edit.vts" --png /dev/full
[ "$rc" = 3 ] || problem "--png /dev/full: exit $rc, expected 3"

printf 'not ours' >"$out/scene.lws.vantorel-part"
cp "$scene" "$out/scene.lws"
run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws"
[ "$rc" = 0 ] && [ "$(cat "$out/scene.lws.vantorel-part")" = "not ours" ] ||
    problem "a file named like the old temporary file was overwritten (exit $rc)"
rm -f "$out/scene.lws.vantorel-part"

# ---- 3. Changed on disk -----------------------------------------------------
for how in byte append; do
    cp "$scene" "$out/scene.lws"
    VT_TOUCH=$out/scene.lws:$how LD_PRELOAD=$shim \
        run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws"
    has "vt-fault: changed the file" || problem "changed on disk ($how): the change was not made"
    [ "$rc" = 3 ] || problem "changed on disk ($how): exit $rc, expected 3"
    has "changed on disk since it was read" || problem "changed on disk ($how): no message: $err"
    [ $how = byte ] && ! has "(its content differs)" && problem "changed on disk (byte): not said what differs: $err"
    cmp -s "$out/scene.lws" "$scene" && problem "changed on disk ($how): the other change was overwritten"
    cp "$scene" "$out/scene.lws"
    VT_TOUCH=$out/scene.lws:$how LD_PRELOAD=$shim \
        run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/scene.lws" --force
    [ "$rc" = 0 ] || problem "changed on disk ($how), --force: exit $rc: $err"
    cmp -s "$out/scene.lws" "$work/reference.lws" || problem "changed on disk ($how), --force: not saved"
done
# Saving to a new name is not affected.
cp "$scene" "$out/scene.lws"
VT_TOUCH=$out/scene.lws:append LD_PRELOAD=$shim \
    run --scene "$out/scene.lws" --script "$work/edit.vts" --save "$out/new.lws"
[ "$rc" = 0 ] || problem "a save to a new name was refused: $err"

# ---- 4. Read-only folder and file -------------------------------------------
as_user=()
if [ "$(id -u)" = 0 ]; then
    if command -v setpriv >/dev/null 2>&1 &&
        setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$host" 2>/dev/null; then
        as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    else
        echo "SKIP read-only folder and file: running as root, which permission bits do not stop," \
            "and user nobody cannot run $host"
    fi
fi
if [ "$(id -u)" != 0 ] || [ ${#as_user[@]} -gt 0 ]; then
    ro=$work/ro
    mkdir -p "$ro/folder" "$ro/file"
    cp "$scene" "$ro/folder/scene.lws"
    cp "$scene" "$ro/file/scene.lws"
    cp "$work/edit.vts" "$ro/edit.vts"
    [ ${#as_user[@]} -gt 0 ] && chown -R nobody "$ro"
    chmod 555 "$ro/folder"
    chmod 444 "$ro/file/scene.lws"
    for which in folder file; do
        "${as_user[@]}" "$host" --scene "$ro/$which/scene.lws" --script "$ro/edit.vts" \
            --save "$ro/$which/scene.lws" >/dev/null 2>"$work/stderr"
        rc=$? err=$(cat "$work/stderr")
        [ "$rc" = 2 ] || problem "read-only $which: exit $rc, expected 2: $err"
        cmp -s "$ro/$which/scene.lws" "$scene" || problem "read-only $which: the file changed"
        [ -z "$(leftovers "$ro/$which")" ] || problem "read-only $which: left a temporary file"
        has "result:" && problem "read-only $which: the session ran although the save could not be made: $err"
        [ $which = folder ] && ! has "folder '$ro/folder' is not writable" &&
            problem "read-only folder: the message does not say so: $err"
    done
    has "is read-only" || problem "read-only file: the message does not say so: $err"
    chmod 755 "$ro/folder"
fi

# ---- 5. Standard output -----------------------------------------------------
"$host" --script "$work/edit.vts" >/dev/full 2>"$work/stderr"
rc=$? err=$(cat "$work/stderr")
[ "$rc" = 4 ] && has "standard output could not be written" || problem "stdout /dev/full: exit $rc: $err"
"$host" --script "$work/edit.vts" >&- 2>"$work/stderr"
rc=$? err=$(cat "$work/stderr")
[ "$rc" = 4 ] && has "it is closed" || problem "stdout closed: exit $rc: $err"
"$broken_pipe" "$host" --script "$work/edit.vts" 2>"$work/stderr"
rc=$? err=$(cat "$work/stderr")
[ "$rc" = 4 ] && has "broken pipe" || problem "stdout a broken pipe: exit $rc, expected 4 (141 is death by SIGPIPE): $err"
"$broken_pipe" "$host" --help 2>"$work/stderr"
rc=$?
[ "$rc" = 4 ] || problem "--help into a broken pipe: exit $rc, expected 4"

if [ $problems -gt 0 ]; then
    echo "save_faults: $problems problem(s)"
    exit 1
fi
echo "save_faults: all checks passed"
