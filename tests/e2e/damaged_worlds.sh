#!/bin/bash
# Damaged worlds as a player meets them. A world whose stream is garbage, in
# the search mode with one player: the inflater's words in a box, OK, then an
# empty world that is played on without the round ending. A creative world
# whose file ends inside its stream: what was read is played, the first save
# goes beside the damaged file with one notice, and every later round goes on
# in that new file with the block that was built; the damaged file is never
# touched.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
[ -x "$QW_WORLD_TOOL" ] || e2e_fail "no world tool at $QW_WORLD_TOOL"
e2e_setup
play_screen
PASSED=0
mkdir -p "$DATA_DIR"

# ---- garbage after the magic, search mode, one player ----

write_damaged_world "$DATA_DIR/Kaputt.lev"
e2e_start_app
dialog=$(e2e_wait_dialog)

e2e_log "search, one player, a damaged world: the inflater's message, then play"
choose "$dialog" 1 search
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
box=$(wait_box_shown Quaderwelt damaged-search-world)
e2e_expect_box_text Quaderwelt "incorrect header check."
answer_box "$box" Quaderwelt "$game"
wait_crosshair "$CY"
wait_pixel "$CX" 5 "$SKY" "the empty world"
e2e_screenshot damaged-search-play >/dev/null
# Nothing to find in an empty grid: the computer must not end the round.
start=$SECONDS
while [ $((SECONDS - start)) -lt 12 ]; do
    round_end_menu_shown && e2e_fail "the round ended after $((SECONDS - start)) s of play"
    press w 0.4
    look 40 0
done
wait_crosshair "$CY"
open_menu damaged-search-menu   # the frame still answers the keys
menu_has_third_button || e2e_fail "the round-end menu came instead of the quit menu"
click_menu_right
wait_menu_gone
close_game "$game"
e2e_press_exit "$dialog"
e2e_wait_app_exit
PASSED=$((PASSED + 1))

# ---- a creative world cut inside its stream ----

rm "$DATA_DIR/Kaputt.lev"
write_world_without_metal "$E2E_TMP/ganz.lev"
size=$(stat -c %s "$E2E_TMP/ganz.lev")
head -c $((size * 3 / 4)) "$E2E_TMP/ganz.lev" >"$DATA_DIR/Welt.lev"
cut_sum=$(md5sum <"$DATA_DIR/Welt.lev")
: >"$APP_LOG"   # this run's boxes only
e2e_start_app
dialog=$(e2e_wait_dialog)

e2e_log "creative, a world cut short: build a block"
choose "$dialog" 1 creative
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
e2e_expect_no_window Quaderwelt   # read partly: no message
expect_world_view 0 "$H" "the part of the world that was read"
look 0 150
press 2   # metal, which the world does not hold
AIM_X=$((CX - 200))
AIM_Y=$((CY - 60))
AIM_W=400
AIM_H=160
wait_still cut-ground "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
place_block "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
wait_still built "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
e2e_screenshot cut-world-built >/dev/null
# The metal in sight, above the material bar (whose metal icon is grey too).
metal_in_sight() { [ "$(grey_pixels 0 0 "$W" $((H - 80)))" -ge 2000 ]; }
metal_in_sight || e2e_fail "no metal block to be seen"

for round in 2 3; do
    e2e_log "\"Neues Spiel\" for round $round: the block is still there"
    open_menu "cut-world-menu-$round"
    click_menu_third
    if [ "$round" -eq 2 ]; then
        box=$(wait_box_shown Quaderwelt diverted-save)
        e2e_expect_box_text Quaderwelt "Die Welt Welt.lev konnte nicht vollständig geladen werden. Damit die Datei nicht überschrieben wird, wurde die Welt als Welt2.lev gespeichert."
        answer_box "$box" Quaderwelt "$game"
    fi
    wait_menu_gone
    # The new round starts where the world was saved; the click's place turns
    # the view a little in its first frame.
    xdotool mousemove "$CX" "$CY"
    wait_still "round-$round" "$AIM_X" "$AIM_Y" "$AIM_W" "$AIM_H"
    e2e_screenshot "cut-world-round-$round" >/dev/null
    metal_in_sight || e2e_fail "round $round does not show the block built"
done

e2e_log "\"Beenden\": one copy holds the block, the damaged file is as it was"
open_menu cut-world-quit
click_menu_quit
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
boxes=$(grep -c '^quaderwelt: message box ' "$APP_LOG" || true)
[ "$boxes" -eq 1 ] || e2e_fail "$boxes boxes instead of the one notice: $(grep '^quaderwelt: message box ' "$APP_LOG")"
[ "$(ls "$DATA_DIR")" = "$(printf 'Welt.lev\nWelt2.lev')" ] || e2e_fail "world files: $(ls "$DATA_DIR" | tr '\n' ' ')"
[ "$(md5sum <"$DATA_DIR/Welt.lev")" = "$cut_sum" ] || e2e_fail "the damaged world was overwritten"
[ -n "$(cell_count "$DATA_DIR/Welt2.lev" 2)" ] || e2e_fail "Welt2.lev does not hold the block: $(cell_counts "$DATA_DIR/Welt2.lev")"
PASSED=$((PASSED + 1))

echo "damaged worlds: $PASSED passed, 0 failed"
