# wine-env.sh - sourced by the scripts that run the Windows build under Wine.
#
# use_wine_prefix PREFIX LOG: Wine quiet, without a display and without the
# Mono or Gecko set-up dialogs, in the 32-bit prefix PREFIX, which is made
# (wineboot --init, its output to LOG) when it is not there yet. Status 1 when
# that fails.
use_wine_prefix() {
    WINEPREFIX=$1
    WINEDEBUG=-all
    WINEARCH=win32
    WINEDLLOVERRIDES="mscoree=;mshtml="
    export WINEPREFIX WINEDEBUG WINEARCH WINEDLLOVERRIDES
    unset DISPLAY WAYLAND_DISPLAY
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    echo "initialising the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")" && wineboot --init >"$2" 2>&1
}
