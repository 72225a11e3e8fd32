# --window --diff: after OK the diff of what --save would write is printed on
# stdout once the window has closed, and no file is written; patch makes of it
# exactly what the same session saves as a script. On the way, the status line
# says when a Range edit will not be sent (Key's range is not limited in the
# file) and says nothing for a light whose range is (Pulse).
scene="$SRC/tests/scenefile/fixtures/v1.lws"
load_points --scene "$scene"
# Black pixels on the status line below the panel, once the window shows
# them: polls until the count is on the side asked for (some, or none).
status_ink() {  # status_ink some|none
    local w h i n=
    read -r w h <<<"${P[size]}"
    for ((i = 0; i < 100; i++)); do
        n=$(import -window "$wid" -crop "${w}x13+0+$((h + 1))" +repage -depth 8 txt:- 2>/dev/null |
            grep -c '#000000') || true
        if [ "$1" = some ] && [ "${n:-0}" -gt 0 ]; then return 0; fi
        if [ "$1" = none ] && [ "${n:-1}" = 0 ]; then return 0; fi
        sleep 0.05
    done
    fail "the status line shows $n black pixels, expected $1"
}
edit_range() {  # edit_range VALUE
    click Range
    keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
    typed "$1"
    keys Return
}
mkdir -p "$work/files"
cp "$scene" "$work/files/v1.lws"
before=$(ls -A "$work/files")
start_host --scene "$work/files/v1.lws" --diff
click row:Key
status_ink none
edit_range 7
status_ink some
click row:Key
click row:Pulse
status_ink none  # the click reached the plug-in: the note is gone
edit_range 3
status_ink none
click ok
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status"
[ "$(ls -A "$work/files")" = "$before" ] || fail "--diff wrote a file: $(ls -A "$work/files")"
grep -q '^diff: .*nothing was written$' "$work/err" || fail "stderr does not count the changes"
grep -qE '^(EditLights|SelectItem)' "$work/out" && fail "the Layout commands are on stdout with --diff"
head -n 2 "$work/out" | grep -qx -- '--- a/v1.lws' || fail "no diff header on stdout: $(head -n 2 "$work/out")"

printf 'click Key\nrange 7\nclick Key\nclick Pulse\nrange 3\nok\n' >"$work/same.vts"
script_run "$work/same.vts" --scene "$scene" --save "$work/script.lws"
cp "$scene" "$work/patched.lws"
chmod u+w "$work/patched.lws"
patch -s --no-backup-if-mismatch "$work/patched.lws" <"$work/out" || fail "patch refused the window's diff"
same_files "$work/script.lws" "$work/patched.lws" "the window's diff does not give what the script saves"

# Cancel: no diff, and stderr says why.
start_host --scene "$work/files/v1.lws" --diff
click cancel
wait_exit
[ ! -s "$work/out" ] || fail "a diff after Cancel"
grep -q 'the panel was cancelled' "$work/err" || fail "stderr does not say the panel was cancelled"
