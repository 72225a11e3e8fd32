# After OK, --save writes the scene the same session gives as a script;
# without --save, stderr says that nothing was saved and how to save.
scene="$SRC/tests/scenefile/fixtures/v1.lws"
load_points --scene "$scene"
start_host --scene "$scene" --save "$work/window.lws"
click row:Key
click Intensity
keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
typed 40
keys Return
click lighttype.0
click ok
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status"
grep -q "^saved: $work/window.lws\$" "$work/err" || fail "stderr does not say saved"
cp "$work/out" "$work/window.out"

printf 'click Key\nintensity 40\nlighttype Distant\nok\n' >"$work/same.vts"
script_run "$work/same.vts" --scene "$scene" --save "$work/script.lws"
same_files "$work/script.out" "$work/window.out" "the commands differ from the script's"
same_files "$work/script.lws" "$work/window.lws" "the saved scene differs from the script's"
cmp -s "$scene" "$work/window.lws" && fail "the saved scene has no edit"

start_host --scene "$scene"
click ok
wait_exit
grep -q 'nothing was saved.*--save' "$work/err" || fail "without --save stderr does not say how to save"
