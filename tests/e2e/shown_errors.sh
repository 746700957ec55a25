#!/bin/bash
# Errors while the game window is being shown: a damaged world and skins that
# cannot be used. Each is reported in a box above the full-screen window with
# the cursor visible, and then the game runs. The cursor is watched all the
# way: visible exactly while a box or the menu is up or the window is hidden.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
e2e_setup
play_screen
PASSED=0

mkdir -p "$DATA_DIR"
write_damaged_world "$DATA_DIR/Kaputt.lev"
damaged_sum=$(md5sum <"$DATA_DIR/Kaputt.lev")
printf '\x89PNG\r\n\x1a\n' >"$E2E_TMP/kaputt.png"
head -c 300 /dev/urandom >>"$E2E_TMP/kaputt.png"
convert -size 10x10 xc:red "$E2E_TMP/klein.png"

e2e_start_app
dialog=$(e2e_wait_dialog)

e2e_log "a damaged world in creative mode: the box over the game, then an empty world"
choose "$dialog" 1 creative
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
box=$(wait_box_shown Quaderwelt damaged-world)
expect_cursor "$(corner_x)" "$(corner_y)" shown "the damaged world's box"
answer_box "$box" Quaderwelt "$game"
wait_crosshair "$CY"
wait_pixel "$CX" 5 "$SKY" "the empty world"
expect_cursor "$CX" "$CY" hidden "play"
open_menu damaged-world-menu
expect_cursor $((CX - 250)) $((CY + 60)) shown "the menu"
click_menu_right
wait_menu_gone
expect_cursor "$CX" "$CY" hidden "play after the menu"

e2e_log "closing saves beside the damaged file, and says so once"
e2e_request_close "$game"
box=$(wait_box_shown Quaderwelt diverted-save)
expect_cursor "$(corner_x)" "$(corner_y)" shown "the notice"
xdotool mousemove "$CX" "$CY"
e2e_keys "$box" Return
e2e_wait_window_gone Quaderwelt
e2e_expect_no_window Quaderwelt
[ "$(md5sum <"$DATA_DIR/Kaputt.lev")" = "$damaged_sum" ] || e2e_fail "the damaged world was overwritten"
[ "$(cell_counts "$DATA_DIR/Kaputt2.lev")" = "cells 0: 8120601" ] ||
    e2e_fail "Kaputt2.lev is not the empty world played: $(cell_counts "$DATA_DIR/Kaputt2.lev")"
PASSED=$((PASSED + 1))

e2e_log "skins: one of the wrong size, one that is no PNG; both reported, the game runs"
e2e_dialog_click "$dialog" 100 154
e2e_type "$dialog" "$E2E_TMP/kaputt.png"
e2e_dialog_click "$dialog" 100 194
e2e_type "$dialog" "$E2E_TMP/klein.png"
choose "$dialog" 2 search
e2e_press_play_new "$dialog"
game=$(wait_game_window)
box=$(wait_box_shown Fehler wrong-size-skin)
expect_cursor "$(corner_x)" "$(corner_y)" shown "the skin message"
answer_box "$box" Fehler "$game"
box=$(wait_box_shown Quaderwelt broken-skin)
expect_cursor "$(corner_x)" "$(corner_y)" shown "the PNG error"
answer_box "$box" Quaderwelt "$game"
wait_crosshair $((CY / 2))
wait_crosshair $((CY + CY / 2))
expect_cursor "$CX" "$CY" hidden "two-player play"
e2e_screenshot skins-rejected >/dev/null
expect_turning 0 "$CY" "$W" $((CY - 40)) "player 1 after the skin errors"
close_game "$game"
PASSED=$((PASSED + 1))

e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
echo "errors while shown: $PASSED passed, 0 failed"
