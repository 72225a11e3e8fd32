# Shell mode: two runs of the plug-in in one process, a copy in the first and
# a paste in the second (the copy buffer lives in the loaded plug-in); "Show
# changes" shows the unsaved edits, and none once saved; Quit with unsaved
# edits asks first; Save writes what the same edits give as a script.
scene="$SRC/tests/scenefile/fixtures/v1.lws"
declare -A S
while read -r name x y; do S[$name]="$x $y"; done < <("$POINTS" --shell)
shell_click() { set -- ${S[$1]}; xdotool mousemove --window "$shell" --sync "$1" "$2" click 1; }
# green_lines some|none: the page of changes shows added lines (green ink), or
# none; polls until the window shows it.
green_lines() {
    local i n=
    for ((i = 0; i < 100; i++)); do
        n=$(import -window "$shell" png:- 2>/dev/null | convert - -fill black +opaque '#007800' \
            -fill white -opaque '#007800' -format '%[fx:round(mean*w*h)]' info: 2>/dev/null) || true
        if [ "$1" = some ] && [ "${n:-0}" -gt 0 ]; then return 0; fi
        if [ "$1" = none ] && [ "${n:-1}" = 0 ]; then return 0; fi
        sleep 0.05
    done
    fail "the page of changes shows $n green pixels, expected $1"
}

"$HOST" --plugin "$PLUGIN" --window --zoom 1 --shell --scene "$scene" --save "$work/shell.lws" \
  >"$work/out" 2>"$work/err" &
host_pid=$!
wait_window '^Layout - vantorel-host shell$'
shell=$wid
load_points --scene "$scene"

# Run 1: copy Key's settings, OK.
shell_click run
wait_window "$title"
click row:Key
click copy
click ok
# Run 2: paste them onto Pulse, OK.
wait_runs 1
shell_click run
wait_window "$title"
click row:Pulse
click paste
click ok
wait_runs 2

# "Show changes": the unsaved edits as added lines; Close.
green_lines none
shell_click changes
green_lines some
shell_click close
green_lines none

# Quit with unsaved edits asks; "Stay" keeps the shell.
shell_click quit
shell_click no
shell_click save
for ((i = 0; i < 200; i++)); do [ -s "$work/shell.lws" ] && break; sleep 0.02; done
[ -s "$work/shell.lws" ] || fail "Save wrote nothing (did Quit end the shell without asking?)"
# Nothing is unsaved now: the page has no added line.
shell_click changes
sleep 0.3
green_lines none
shell_click close
shell_click quit  # nothing unsaved now: no question
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status"
[ "$(grep -c '^result: 0$' "$work/err")" = 2 ] || fail "not two runs"

printf 'click Key\ncopy\nclick Pulse\npaste\nok\n' >"$work/same.vts"
script_run "$work/same.vts" --scene "$scene" --save "$work/script.lws"
same_files "$work/script.lws" "$work/shell.lws" "the shell saved another scene than the script"
# The second run's OK sends what the script's OK sends.
tail -n "$(wc -l <"$work/script.out")" "$work/out" >"$work/run2.out"
same_files "$work/script.out" "$work/run2.out" "the second run's commands differ from the script's"
