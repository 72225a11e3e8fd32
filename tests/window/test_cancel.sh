# Escape (no field edited) and the window's close button are Cancel: nothing
# on stdout, the --save file not written. Escape while editing only drops the
# edit: the panel stays open.
load_points --scene "$SRC/tests/scenefile/fixtures/v1.lws"

start_host --scene "$SRC/tests/scenefile/fixtures/v1.lws" --save "$work/saved.lws"
click row:Key
click Intensity
typed 5
keys Escape
kill -0 "$host_pid" 2>/dev/null || fail "Escape while editing closed the panel"
keys Escape
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status after Escape"
[ ! -s "$work/out" ] || fail "Escape printed commands: $(cat "$work/out")"
[ ! -e "$work/saved.lws" ] || fail "Escape saved the scene"
grep -q 'cancelled' "$work/err" || fail "stderr does not say the panel was cancelled"

start_host --scene "$SRC/tests/scenefile/fixtures/v1.lws" --save "$work/saved.lws"
click row:Key
click lighttype.0
"$X_CLOSE" "$wid"
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status after closing the window"
[ ! -s "$work/out" ] || fail "closing the window printed commands: $(cat "$work/out")"
[ ! -e "$work/saved.lws" ] || fail "closing the window saved the scene"
