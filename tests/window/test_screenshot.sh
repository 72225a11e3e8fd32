# At zoom 1, with no field edited and no button held, the window shows the
# panel pixel for pixel as the snapshot picture of the same moment; the panel
# is at the client area's top left and the status line below it.
load_points
cat >"$work/moment.vts" <<END
click Key
click Rim
lighttype Spot
shadow Raytrace
snapshot $work/want.png
cancel
END
script_run "$work/moment.vts"
start_host
click row:Key
click row:Rim
click lighttype.2
click shadow.1
at ok 0 -40   # away from every button
screen_equals "$work/want.png"
keys Escape
wait_exit
