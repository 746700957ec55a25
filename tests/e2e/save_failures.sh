#!/bin/bash
# Creative saves into a data folder that has become read-only: the "Fehler"
# box, and the world stays in memory until a save succeeds: the menu's new
# round is refused, and so is closing the window.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
prefix=$(as_plain_user) || { echo "skipped: cannot give up root's right to write anywhere"; exit 77; }
e2e_setup
play_screen

# shellcheck disable=SC2086
start_app_through $prefix "$QW_BIN"
dialog=$(e2e_wait_dialog)
choose "$dialog" 1 creative
set_new_world_name "$dialog" "Fels"
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"

e2e_log "build a metal block, then the data folder turns read-only"
look 0 150
wait_still ground 0 0 "$W" $((H - 70))
press 2
place_block 0 0 "$W" $((H - 70))
chmod 555 "$DATA_DIR"

e2e_log "Neues Spiel: the save fails, the menu stays open, nothing is left behind"
open_menu menu
click_menu_third
box=$(wait_box_shown Fehler save-failed)
e2e_keys "$box" Return
e2e_wait_window_gone Fehler
wait_pixel $((CX - 250)) $((CY + 60)) "$GREY" "the menu after the failed save"
[ -z "$(ls -A "$DATA_DIR")" ] || e2e_fail "the failed save left files: $(ls -A "$DATA_DIR")"

e2e_log "with the folder writable again the same world is saved, then the new round starts"
chmod 755 "$DATA_DIR"
click_menu_third
wait_menu_gone
wait_crosshair "$CY"
[ "$(cell_count "$DATA_DIR/Fels.lev" 2)" = 1 ] || e2e_fail "the saved world lost the metal block: $(cell_counts "$DATA_DIR/Fels.lev")"

e2e_log "closing into a read-only folder: told, and the world stays on the screen"
chmod 555 "$DATA_DIR"
sum=$(md5sum <"$DATA_DIR/Fels.lev")
place_block 0 0 "$W" $((H - 70))   # a block for the second round's world
e2e_request_close "$game"
box=$(wait_box_shown Fehler close-failed)
answer_box "$box" Fehler "$game"
[ "$(md5sum <"$DATA_DIR/Fels.lev")" = "$sum" ] && [ "$(ls -A "$DATA_DIR")" = "Fels.lev" ] ||
    e2e_fail "the failed save on close touched the folder"
[ "$(e2e_geometry "$game")" = "0 0 $W $H" ] || e2e_fail "the game window went away with its unsaved world"
wait_crosshair "$CY"
expect_turning 0 0 "$W" $((H - 70)) "after the failed save"

e2e_log "writable again, closing saves the world and returns to the dialog"
chmod 755 "$DATA_DIR"
close_game "$game"
[ -n "$(cell_counts "$DATA_DIR/Fels2.lev")" ] || e2e_fail "the second round's world was not saved on close"

e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
echo "save failures: 3 passed, 0 failed"
