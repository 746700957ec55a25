#!/bin/bash
# Presses that belong to one thing must not also do another. A click on a
# menu button, with the left or the right button, closes the menu and does
# not dig or place a block in the next frame. A play button of the start
# dialog, which stays enabled behind a game of "Ausgesuchte Welt spielen",
# does not start a new round under the player. Both are read from the
# creative world saved afterwards.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
[ -x "$QW_WORLD_TOOL" ] || e2e_fail "no world tool at $QW_WORLD_TOOL"
e2e_setup
play_screen
PASSED=0
mkdir -p "$DATA_DIR"
write_world_without_metal "$DATA_DIR/Heim.lev"
cells_before=$(cell_counts "$DATA_DIR/Heim.lev")

e2e_start_app
dialog=$(e2e_wait_dialog)
choose "$dialog" 1 creative
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
expect_world_view 0 "$H" "creative"
look 0 150   # the ground in reach under the crosshair
press 2      # metal, which the world does not hold
wait_still ground $((CX - 200)) $((CY - 60)) 400 160

e2e_log "menu buttons pressed with the left and the right button act in the menu only"
open_menu menu-left-continue
click_menu_right
wait_menu_gone
sleep 1
open_menu menu-right-continue
click_at $((CX + 60)) "$CY" 3
wait_menu_gone
sleep 1
open_menu menu-left-new-round
click_menu_third   # saves in place, then the new round reloads the world
wait_menu_gone
sleep 1
close_game "$game"
[ "$(cell_counts "$DATA_DIR/Heim.lev")" = "$cells_before" ] ||
    e2e_fail "a menu press changed the world: $(cell_counts "$DATA_DIR/Heim.lev" | tr '\n' ' ')"
PASSED=$((PASSED + 1))

e2e_log "a play button reached behind the game does not start a new round"
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
xdotool mousemove "$CX" "$CY"
press 2
wait_still ground-again $((CX - 200)) $((CY - 60)) 400 160
place_block $((CX - 200)) $((CY - 60)) 400 160
# The play button, clicked last, has the dialog's focus: Return presses it.
e2e_keys "$dialog" Return
sleep 1.5
e2e_expect_no_window Quaderwelt
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
e2e_screenshot after-return >/dev/null
close_game "$game"
[ -n "$(cell_count "$DATA_DIR/Heim.lev" 2)" ] ||
    e2e_fail "the block built before the press is lost: $(cell_counts "$DATA_DIR/Heim.lev" | tr '\n' ' ')"
PASSED=$((PASSED + 1))

e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
echo "stray presses: $PASSED passed, 0 failed"
