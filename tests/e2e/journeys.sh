#!/bin/bash
# Whole journeys through the game as a player makes them: a new world in each
# mode for one and two players, walking, looking, digging and building, the
# Esc menu, a new round from it, the creative save, quitting from the menu,
# then a second start that loads the saved world, plays on, renames and
# deletes it and quits from the dialog. Every step is checked on the screen:
# sky above, ground below, the grey menu panel, the changed block.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
[ -x "$QW_WORLD_TOOL" ] || e2e_fail "no world tool at $QW_WORLD_TOOL"
e2e_setup
play_screen
JOURNEYS=0

# ---- first run: every mode ----

e2e_start_app
dialog=$(e2e_wait_dialog)

e2e_log "search, one player: walk, look, menu, play on, new round"
choose "$dialog" 1 search
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
expect_world_view 0 "$H" "search"
e2e_screenshot search-start >/dev/null
expect_walking "w s a d" 0 $((CY + 20)) "$W" $((H - CY - 100)) "player 1"
expect_turning 0 $((CY + 20)) "$W" $((H - CY - 100)) "player 1"
expect_cursor "$CX" "$CY" hidden "search play"
open_menu search-menu
expect_cursor $((CX - 250)) $((CY + 60)) shown "the menu"
if menu_has_third_button; then
    click_menu_right   # "Weiter spielen"
    wait_menu_gone
    wait_crosshair "$CY"
    open_menu search-menu-again
fi
menu_new_round
wait_menu_gone
wait_crosshair "$CY"
expect_cursor "$CX" "$CY" hidden "the new round"
expect_world_view 0 "$H" "search, new round"
close_game "$game"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "fight, one player: shoot, menu, new round"
choose "$dialog" 1 fight
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
expect_world_view 0 "$H" "fight"
wait_pixel 12 35 "255,0,0" "lives bar"
look 0 120
xdotool click 1   # the weapon is selected: a missile
sleep 0.5
press w 0.5
e2e_screenshot fight-shot >/dev/null
open_menu fight-menu
menu_new_round
wait_menu_gone
wait_crosshair "$CY"
close_game "$game"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "search, two players: both halves, each player walks"
choose "$dialog" 2 search
e2e_press_play_new "$dialog"
game=$(wait_game_window)
expect_world_view 0 "$CY" "upper view"
expect_world_view "$CY" "$CY" "lower view"
e2e_screenshot two-players >/dev/null
expect_walking "w s a d" 0 $((CY + CY / 2 + 20)) "$W" $((CY / 2 - 90)) "player 1 in the lower view"
expect_walking "Up Down Left Right" 0 $((CY / 2 + 20)) "$W" $((CY / 2 - 90)) "player 2 in the upper view"
open_menu two-player-menu
click_menu_right
wait_menu_gone
expect_world_view 0 "$CY" "upper view after the menu"
close_game "$game"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "fight, two players"
choose "$dialog" 2 fight
e2e_press_play_new "$dialog"
game=$(wait_game_window)
expect_world_view 0 "$CY" "fight, upper view"
expect_world_view "$CY" "$CY" "fight, lower view"
press Return 0.1   # player 2 fires
press w 0.5
e2e_screenshot two-player-fight >/dev/null
close_game "$game"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "creative, two players: closing saves the world"
choose "$dialog" 2 creative
set_new_world_name "$dialog" "Zwei"
e2e_press_play_new "$dialog"
game=$(wait_game_window)
expect_world_view 0 "$CY" "creative, upper view"
expect_world_view "$CY" "$CY" "creative, lower view"
e2e_screenshot two-player-creative >/dev/null
close_game "$game"
[ -n "$(cell_counts "$DATA_DIR/Zwei.lev")" ] || e2e_fail "Zwei.lev was not saved on close"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "creative, one player: dig a hole, put metal in, new round saves, quit from the menu"
choose "$dialog" 1 creative
set_new_world_name "$dialog" "Reise"
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
expect_world_view 0 "$H" "creative"
look 0 150   # down at the ground ahead
AIM_X=$((CX - 200))
AIM_Y=$((CY - 60))
AIM_W=400
AIM_H=160
wait_still creative-ground "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
dig_block "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
e2e_screenshot creative-hole >/dev/null
press 2   # metal, the second slot
wait_pixel $((CX - 240 + 60 - 6)) $((H - 30)) "255,0,0" "metal selected"
place_block "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
# The whole view above the material bar, which shows another slot after loading.
wait_still creative-built 0 0 "$W" $((H - 70))
e2e_screenshot creative-built-full >/dev/null
open_menu creative-menu
click_menu_third   # "Neues Spiel": saves first
wait_menu_gone
wait_crosshair "$CY"
[ "$(cell_count "$DATA_DIR/Reise.lev" 2)" = 1 ] || e2e_fail "the metal block is not in Reise.lev: $(cell_counts "$DATA_DIR/Reise.lev")"
counts_saved=$(cell_counts "$DATA_DIR/Reise.lev")
e2e_screenshot creative-new-round >/dev/null
open_menu creative-quit-menu
click_menu_quit   # "Beenden" ends the program, saving this round's world
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "Beenden: exit status $APP_STATUS"
[ -n "$(cell_counts "$DATA_DIR/Reise2.lev")" ] || e2e_fail "the second round's world was not saved at the end"
JOURNEYS=$((JOURNEYS + 1))

# ---- second run: the saved world comes back ----

e2e_log "restart, load Reise.lev: the same place, the metal block still there"
e2e_start_app
dialog=$(e2e_wait_dialog)
choose "$dialog" 1 creative
# The list shows the folder in directory order; pick Reise.lev's row.
row=$(($(ls -U "$DATA_DIR" | grep '\.lev$' | grep -n -x 'Reise.lev' | cut -d: -f1) - 1))
e2e_dialog_click "$dialog" 100 307
for _ in $(seq "$row"); do e2e_keys "$dialog" Down; done
# The pointer goes to the middle right after the click, long before the
# first frame, whose mouse look would otherwise turn the view.
read -r dx dy _ dh <<<"$(e2e_geometry "$dialog")"
xdotool mousemove $((dx + 100)) $((dy + dh - DIALOG_CLIENT_HEIGHT + 452)) sleep 0.1 click 1 mousemove "$CX" "$CY"
game=$(wait_game_window)
wait_crosshair "$CY"
wait_still creative-loaded 0 0 "$W" $((H - 70))
e2e_screenshot creative-loaded-full >/dev/null
differing=$(differing_pixels "$E2E_ARTIFACTS/creative-built.png" "$E2E_ARTIFACTS/creative-loaded.png")
[ "$differing" -lt 200 ] || e2e_fail "the loaded world looks different from the saved one ($differing pixels)"

e2e_log "dig the metal block out again; closing saves over the same file"
xdotool mousemove "$CX" "$CY"
sleep 0.2
xdotool click 1
wait_changed "$E2E_ARTIFACTS/creative-loaded.png" 0 0 "$W" $((H - 70)) "digging the metal out"
close_game "$game"
[ -z "$(cell_count "$DATA_DIR/Reise.lev" 2)" ] || e2e_fail "the metal block is still in Reise.lev"
# Everything else is as saved, except one more empty cell.
expected=$(awk '$2 == "0:" { $3 += 1 } $2 != "2:" { print }' <<<"$counts_saved")
[ "$(cell_counts "$DATA_DIR/Reise.lev")" = "$expected" ] ||
    e2e_fail "Reise.lev is not the loaded world with one block dug out: $(cell_counts "$DATA_DIR/Reise.lev")"
JOURNEYS=$((JOURNEYS + 1))

e2e_log "rename Reise to Heimat, delete it, quit from the dialog"
sum=$(md5sum <"$DATA_DIR/Reise.lev")
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_type "$rename" "Heimat"
e2e_keys "$rename" Return
e2e_wait_window_gone "Welt umbenennen"
e2e_expect_no_window Fehler
[ ! -e "$DATA_DIR/Reise.lev" ] && [ "$(md5sum <"$DATA_DIR/Heimat.lev")" = "$sum" ] || e2e_fail "rename"
e2e_press_delete "$dialog"
e2e_answer_box "Löschen" alt+j   # "_Ja"
[ ! -e "$DATA_DIR/Heimat.lev" ] || e2e_fail "Heimat.lev was not deleted"
[ -e "$DATA_DIR/Reise2.lev" ] && [ -e "$DATA_DIR/Zwei.lev" ] || e2e_fail "another world went with it"
e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
# The world was saved when its window closed; quitting brings back no copy of it.
[ ! -e "$DATA_DIR/Reise.lev" ] && [ ! -e "$DATA_DIR/Heimat.lev" ] || e2e_fail "the deleted world came back: $(ls "$DATA_DIR")"
JOURNEYS=$((JOURNEYS + 1))

echo "journeys: $JOURNEYS passed, 0 failed"
