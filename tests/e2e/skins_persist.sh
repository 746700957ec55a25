#!/bin/bash
# The two skin file names chosen in one run are there again in the next.
source "$(dirname "$0")/lib.sh"
e2e_setup
PLAYER_SKIN="$E2E_TMP/skins/spieler-eigen.png"
OPPONENT_SKIN="$E2E_TMP/skins/gegner-eigen.png"

settings_hold_both() {
    grep -rqF "$PLAYER_SKIN" "$XDG_CONFIG_HOME" && grep -rqF "$OPPONENT_SKIN" "$XDG_CONFIG_HOME"
}

e2e_start_app
dialog=$(e2e_wait_dialog)
e2e_dialog_click "$dialog" 100 154
e2e_type "$dialog" "$PLAYER_SKIN"
e2e_dialog_click "$dialog" 100 194
e2e_type "$dialog" "$OPPONENT_SKIN"
e2e_screenshot skins-typed >/dev/null
e2e_press_exit "$dialog"
e2e_wait_app_exit
settings_hold_both || e2e_fail "the skin file names were not stored"

e2e_log "a second run shows them and stores them again on exit"
e2e_start_app
dialog=$(e2e_wait_dialog)
e2e_screenshot skins-restored >/dev/null
e2e_press_exit "$dialog"
e2e_wait_app_exit
settings_hold_both || e2e_fail "the second run lost the skin file names"
