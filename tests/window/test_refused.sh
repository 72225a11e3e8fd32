# Work done by hand is not lost when the save at the end fails.
# 1. One run, --save over the --scene file, which another program changes
#    while the window is open: OK is refused (exit 3) and the session is kept
#    as a recording beside the scene; replayed, it saves what the window would
#    have saved.
# 2. --record into a folder that is removed while the window is open (a folder
#    missing at start is refused before the window opens): the recording goes
#    beside the scene instead, and stderr says where. With --record and a failed save,
#    the recording is where stderr points.
# 3. The shell: the refusal offers "Save anyway" (it replaces the file) and
#    "Save as..." (a typed path); Quit after a failed save asks first.
scene="$SRC/tests/scenefile/fixtures/v1.lws"
load_points --scene "$scene"
declare -A S
while read -r name x y; do S[$name]="$x $y"; done < <("$POINTS" --shell)
shell_click() { set -- ${S[$1]}; xdotool mousemove --window "$shell" --sync "$1" "$2" click 1; }
fresh() {  # fresh NAME: a writable copy of the scene in $work/files
    mkdir -p "$work/files"
    cp "$scene" "$work/files/$1"
    chmod u+w "$work/files/$1"
}
edit_key() {  # the same edit every time: Key at 40 percent
    click row:Key
    click Intensity
    keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    typed 40
    keys Return
}
printf 'click Key\nintensity 40\nok\n' >"$work/same.vts"
script_run "$work/same.vts" --scene "$scene" --save "$work/expected.lws"

# 1. Changed on disk while the window is open.
fresh s.lws
start_host --scene "$work/files/s.lws" --save "$work/files/s.lws"
edit_key
echo "# another program" >>"$work/files/s.lws"
cp "$work/files/s.lws" "$work/changed.lws"
click ok
wait_exit
[ "$host_status" = 3 ] || fail "exit status $host_status, expected 3"
grep -q 'changed on disk since it was read' "$work/err" || fail "stderr does not say the file changed on disk"
same_files "$work/changed.lws" "$work/files/s.lws" "the refused save touched the scene file"
kept="$work/files/s-session-1.vts"
[ -s "$kept" ] || fail "the session was not kept beside the scene: $(ls "$work/files")"
grep -qF "kept: the save failed, so the session was recorded to $kept" "$work/err" ||
    fail "stderr does not say where the session went"
script_run "$kept" --scene "$scene" --save "$work/replayed.lws"
same_files "$work/expected.lws" "$work/replayed.lws" "the kept session does not replay to the same scene"

# 2. --record cannot be written: kept beside the scene, the next free name.
mkdir -p "$work/gone"
start_host --scene "$work/files/s.lws" --record "$work/gone/r.vts"
edit_key
rmdir "$work/gone"
click ok
wait_exit
[ "$host_status" = 3 ] || fail "exit status $host_status, expected 3 (the recording could not be written)"
[ -s "$work/files/s-session-2.vts" ] || fail "the recording was not kept as s-session-2.vts"
grep -qF "it is in $work/files/s-session-2.vts instead" "$work/err" || fail "stderr does not say where it went"

# With --record, the recording is the kept session: no other file.
start_host --scene "$work/files/s.lws" --save "$work/files/s.lws" --record "$work/r.vts"
edit_key
echo "# another program" >>"$work/files/s.lws"
click ok
wait_exit
[ "$host_status" = 3 ] || fail "exit status $host_status, expected 3"
[ -s "$work/r.vts" ] || fail "--record was not written after the failed save"
grep -qF "$work/r.vts keeps the session" "$work/err" || fail "stderr does not point at the recording"
[ -e "$work/files/s-session-3.vts" ] && fail "a second recording was kept although --record has it"

# 3. The shell.
fresh shell.lws
"$HOST" --plugin "$PLUGIN" --window --zoom 1 --shell --scene "$work/files/shell.lws" \
    >"$work/out" 2>"$work/err" &
host_pid=$!
wait_window '^Layout - vantorel-host shell$'
shell=$wid
shell_click run
wait_window "$title"
edit_key
click ok
wait_runs 1
echo "# another program" >>"$work/files/shell.lws"
cp "$work/files/shell.lws" "$work/changed.lws"
shell_click save
shell_click yes  # overwrite the scene file: yes
for ((i = 0; i < 200; i++)); do grep -q 'changed on disk' "$work/err" && break; sleep 0.02; done
grep -q 'changed on disk' "$work/err" || fail "the shell's save over the changed file was not refused"
shell_click no  # Cancel: the edits stay unsaved
same_files "$work/changed.lws" "$work/files/shell.lws" "the refused save touched the scene file"
shell_click quit
shell_click no  # Quit asks first: "Stay"
sleep 0.3
kill -0 "$host_pid" 2>/dev/null || fail "Quit after a failed save did not ask"
shell_click save
for ((i = 0; i < 200; i++)); do [ "$(grep -c 'changed on disk' "$work/err")" -ge 2 ] && break; sleep 0.02; done
shell_click middle  # Save anyway
for ((i = 0; i < 200; i++)); do grep -q "^saved: $work/files/shell.lws\$" "$work/err" && break; sleep 0.02; done
grep -q "^saved: $work/files/shell.lws\$" "$work/err" || fail "Save anyway did not save"
same_files "$work/expected.lws" "$work/files/shell.lws" "Save anyway saved another scene than the script"

# Again: a second run, another change on disk, and Save as... a typed path.
shell_click run
wait_window "$title"
click ok
wait_runs 2
echo "# another program, again" >>"$work/files/shell.lws"
shell_click save
for ((i = 0; i < 200; i++)); do [ "$(grep -c 'changed on disk' "$work/err")" -ge 3 ] && break; sleep 0.02; done
shell_click yes  # Save as...
xdotool key --delay 5 --repeat 4 BackSpace  # "shell.lws" becomes "shell-2.lws"
xdotool type --delay 5 -- "-2.lws"
xdotool key Return
for ((i = 0; i < 200; i++)); do [ -s "$work/files/shell-2.lws" ] && break; sleep 0.02; done
grep -q "^saved: $work/files/shell-2.lws\$" "$work/err" || fail "Save as did not save to the typed path"
same_files "$work/expected.lws" "$work/files/shell-2.lws" "Save as saved another scene than the script"
shell_click quit  # nothing unsaved now: no question
wait_exit
[ "$host_status" = 0 ] || fail "the shell's exit status $host_status"
