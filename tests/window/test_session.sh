# A whole session by hand: clicks on rows, a field edit with Return, a choice,
# a drag, copy and paste, a typed prefix, type-to-select, a second field, a
# second choice and OK. stdout must be what the same session gives as a
# script, and so must the replay of its recording.
load_points
start_host --record "$work/rec.vts"
click row:Key
click Intensity
keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
typed 75
keys Return
click lighttype.2
at drag
xdotool mousedown 1
at drag 10 0
at drag 30 0
xdotool mouseup 1
click copy
click row:Fill
click row:Rim
click paste
click prefix
typed Sp
keys Return
click Range
keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
typed 2.5
keys Return
click shadow.2
click ok
wait_exit
[ "$host_status" = 0 ] || fail "exit status $host_status"
[ -s "$work/out" ] || fail "nothing on stdout"
grep -q '^result: 0$' "$work/err" || fail "no result line on stderr"

cat >"$work/same.vts" <<'END'
click Key
intensity 75
lighttype Spot
drag -10 -30
copy
click Fill
click Rim
paste
prefix Sp
range 2.5
shadow ShadowMap
ok
END
script_run "$work/same.vts"
same_files "$work/script.out" "$work/out" "the window session's commands differ from the script's"

[ -s "$work/rec.vts" ] || fail "--record wrote nothing"
tail -n 1 "$work/rec.vts" | grep -qx ok || fail "the recording does not end with ok"
# Written in the script writer's canonical form, the recording is the script
# above line for line, after its first line (a comment on how to replay it).
tail -n +2 "$work/rec.vts" >"$work/rec-lines.vts"
same_files "$work/same.vts" "$work/rec-lines.vts" "the recording is not the script's lines"
script_run "$work/rec.vts"
same_files "$work/script.out" "$work/out" "replaying the recording gives other commands"

# The recording clicks lights by name: on a scene that holds the same lights
# in another order, after one more, it makes the same edits as the script
# above; on a scene without one of them it fails at that line, exit 1.
scene() {  # scene FILE NAME...: point lights of those names
  local file=$1 name
  shift
  printf 'LWSC\n3\n\n' >"$file"
  for name in "$@"; do
    printf 'AddLight\nLightName %s\nLightColor 1 0.9 0.8\nLightIntensity 0.7\nLightType 1\nShadowType 1\n\n' \
      "$name" >>"$file"
  done
}
scene "$work/moved.lws" Extra Window Bounce "spot back" "Spot Right" "Spot Left" Sun Rim Fill Key
script_run "$work/same.vts" --scene "$work/moved.lws"
cp "$work/script.out" "$work/same-moved.out"
script_run "$work/rec.vts" --scene "$work/moved.lws"
same_files "$work/script.out" "$work/same-moved.out" \
  "the recording replayed on another scene edits other lights than the script"
scene "$work/norim.lws" Key Fill Sun
set +e
"$HOST" --plugin "$PLUGIN" --script "$work/rec.vts" --scene "$work/norim.lws" >"$work/norim.out" 2>"$work/norim.err"
status=$?
set -e
[ "$status" = 1 ] || fail "a replay on a scene without Rim exits with $status, not 1"
grep -q '/rec\.vts:[0-9]*: error: click Rim: the scene has no light named "Rim"' "$work/norim.err" ||
  { cat "$work/norim.err" >&2; fail "the failed replay does not name the light and the line"; }
[ ! -s "$work/norim.out" ] || fail "the failed replay sent commands"
