// demo_session.cpp - the session played when no script is given. It runs on
// the built-in demo scene (Key, Fill, Rim, Sun, Spot Left, Spot Right, spot
// back, Bounce, Window) and uses every control of the panel.
#include "script/script.h"

namespace script {

const char *demoScript() {
    return R"(# Built-in demo session
expect ghosted yes                 # nothing is selected when the panel opens
click Key
expect selected Key
expect ghosted no
expect field intensity 100
expect field lighttype Spot
intensity 120                      # every selected light to 120 percent
color 255 240 200
expect field color 255 240 200
range 15
expect field range 15
copy
expect info "Copy Intensity"
clear                              # Clear selection
expect selected
expect ghosted yes
click Fill
click Rim
expect selected Fill Rim
paste                              # Fill and Rim take Key's settings
expect info "Paste Intensity"
expect field intensity 120
expect field range 15
expect field lighttype Spot
expect selected Fill Rim
type S                             # prefix typed on the panel
expect prefix S
expect selected Sun "Spot Left" "Spot Right"
type p
expect selected "Spot Left" "Spot Right"
key backspace
expect selected Sun "Spot Left" "Spot Right"
key backspace
expect prefix ""
prefix Spot                        # prefix entered in the field
expect selected "Spot Left" "Spot Right"
lighttype Area
expect field lighttype Area
shadow Raytrace
expect field shadow Raytrace
drag 100 250                       # Spot Right: 60 percent, then 50, then 35
expect field intensity 35
drag-event 0 1                     # a raw event that starts a new drag
drag-event -50 2                   # and one that continues it
expect field intensity 40
scroll 0
click-y 8                          # row 0, Key, joins the selection
expect selected Key "Spot Left" "Spot Right"
key 0x1030                         # a key that edits nothing applies the prefix again
expect selected "Spot Left" "Spot Right"
ok
expect result 0
)";
}

}  // namespace script
