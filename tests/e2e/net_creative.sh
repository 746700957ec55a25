#!/bin/bash
# A creative game over the network, two computers in one: the host opens it
# in a new world, the guest joins with the code read off the host's screen,
# walks and puts a block down. The host sees the guest's figure in the
# guest's own skin, and the block; the host ends with "Beenden" and its saved
# world holds the guest's block; the guest is told and is back at its start
# dialog.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
source "$(dirname "$0")/net.sh"
[ -x "$QW_WORLD_TOOL" ] || e2e_fail "no world tool at $QW_WORLD_TOOL"
PASSED=0
# The guest's skin, all magenta: nothing in a world has that colour, so on
# the host's screen it is the guest's figure.
SKIN_COLOUR="#ff00ff"
METAL=2

e2e_log "host: a creative game in a new world, waiting"
e2e_side host
play_screen
VIEW_H=$((H - 70))   # the view above the material bar
HOST_DATA=$DATA_DIR
e2e_start_app
dialog=$(e2e_wait_dialog)
choose "$dialog" 0 creative
set_new_world_name "$dialog" "Netzwelt"
port=$(net_free_port)
waiting=$(net_open_host "$dialog" "$port")
code=$(net_read_code "$waiting")
e2e_screenshot host-waiting >/dev/null
e2e_log "the code is $code, on port $port"

e2e_log "guest: its own skin, joins with the code"
e2e_side guest
convert -size 64x32 "xc:$SKIN_COLOUR" "$E2E_TMP/magenta.png"
e2e_start_app
dialog=$(e2e_wait_dialog)
e2e_dialog_click "$dialog" 100 154
e2e_type "$dialog" "$E2E_TMP/magenta.png"
net_join "$dialog" "127.0.0.1:$port" "$code"
guest_game=$(wait_game_window)
wait_crosshair "$CY"
e2e_screenshot guest-start >/dev/null

e2e_side host
host_game=$(net_host_game_started host-start)
PASSED=$((PASSED + 1))

# The guest's figure on the host's screen: magenta pixels of screenshot $1.
figure_pixels() { count_colour "$1" "$SKIN_COLOUR"; }

# Pixels that differ between the host's pictures $1 and $2 where neither
# shows the guest's figure: what changed in the world, not in the figure.
world_changes() {
    convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 8% \
        \( "$1" -fuzz 12% -fill black -opaque "$SKIN_COLOUR" -fill white +opaque black -colorspace gray \) -compose multiply -composite \
        \( "$2" -fuzz 12% -fill black -opaque "$SKIN_COLOUR" -fill white +opaque black -colorspace gray \) -compose multiply -composite \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

# A few steps with each of the keys $1 in turn until the guest's own view
# changes: short ones, so that the figure stays in the host's sight.
short_walk() {
    local key tick before
    for key in $1; do
        before=$(crop walk-before 0 $((CY + 20)) "$W" $((H - CY - 100)))
        press "$key" 0.3
        for tick in 1 2 3 4 5 6 7 8; do
            [ "$(differing_pixels "$before" "$(crop walk-after 0 $((CY + 20)) "$W" $((H - CY - 100)))")" -gt 50 ] && return 0
            sleep 0.25
        done
    done
    return 1
}

# One try of the scene, on the present round's random world: the guest in
# the host's sight, walking, then building in front of itself where the host
# sees it. Fails (with the reason in WHY) when the world hides something.
WHY=""
try_scene() {
    local round=$1 before after waited
    e2e_side host
    waited=0
    until [ "$(figure_pixels "$(e2e_screenshot "host-sees-guest-$round")")" -gt 200 ]; do
        sleep 0.3
        waited=$((waited + 1))
        [ "$waited" -le 15 ] || { WHY="the host does not see the guest's figure"; return 1; }
    done
    before=$(crop "host-before-walk-$round" 0 0 "$W" "$VIEW_H")

    e2e_log "the guest walks; the host sees its figure move"
    e2e_side guest
    # Back first: the guest still faces the host and builds between them,
    # where walking forward could bring it too close to the host.
    short_walk "s a d" || { WHY="the guest is walled in"; return 1; }
    e2e_side host
    waited=0
    while :; do
        after=$(crop "host-after-walk-$round" 0 0 "$W" "$VIEW_H")
        [ "$(differing_pixels "$before" "$after")" -gt 50 ] && break
        sleep 0.3
        waited=$((waited + 1))
        [ "$waited" -le 15 ] || { WHY="the guest's walking did not show on the host"; return 1; }
    done
    [ "$(figure_pixels "$after")" -gt 200 ] || { WHY="the guest walked out of the host's sight"; return 1; }

    e2e_log "the guest puts a metal block down in front of it; the host sees it"
    # The host looks down at the ground between the two, the guest steeply
    # at the ground right in front of it.
    look 0 250
    e2e_side guest
    look 0 400
    press 2   # metal, the second slot
    wait_pixel $((CX - 240 + 60 - 6)) $((H - 30)) "255,0,0" "metal selected on the guest"
    e2e_side host
    wait_still "host-before-block-$round" 0 0 "$W" "$VIEW_H"
    e2e_side guest
    place_block 0 0 "$W" "$VIEW_H"
    e2e_screenshot "guest-placed-$round" >/dev/null
    e2e_side host
    waited=0
    while :; do
        after=$(crop "host-sees-block-$round" 0 0 "$W" "$VIEW_H")
        [ "$(world_changes "$E2E_ARTIFACTS/host-before-block-$round.png" "$after")" -gt 50 ] && break
        sleep 0.3
        waited=$((waited + 1))
        [ "$waited" -le 15 ] || { WHY="the guest's block is out of the host's sight"; return 1; }
    done
    [ "$(figure_pixels "$after")" -gt 200 ] || { WHY="the host no longer sees the guest"; return 1; }
    e2e_screenshot "host-sees-block-full-$round" >/dev/null
}

# A random world may hide one figure from the other; the guest then starts
# the next round from its menu, as players would (a new world is set up on
# the host and sent over). The host saves each round's world first.
round=1
world="$HOST_DATA/Netzwelt.lev"
until try_scene "$round"; do
    [ "$round" -lt 4 ] || e2e_fail "$WHY, in four rounds"
    e2e_log "$WHY: the guest starts a new round"
    e2e_side guest
    xdotool mousemove "$CX" "$CY"
    open_menu "guest-menu-round-$round"
    click_menu_third
    wait_menu_gone
    # The guest's pitch outlasts the round; it looks ahead again.
    look 0 -400
    round=$((round + 1))
    world="$HOST_DATA/Netzwelt$round.lev"
    e2e_side host
    wait_menu_gone
    wait_crosshair "$CY"
done
PASSED=$((PASSED + 1))

e2e_log "the host ends with Esc and Beenden; its world holds the guest's block"
e2e_side host
xdotool mousemove "$CX" "$CY"
open_menu host-menu
e2e_side guest
wait_pixel $((CX - 250)) $((CY + 60)) "$GREY" "the menu on the guest"
e2e_screenshot guest-menu >/dev/null
e2e_side host
click_menu_quit
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "Beenden: exit status $APP_STATUS"
# A generated world has no metal; a click that seemed to do nothing on a
# loaded machine may have put a second block down.
metal=$(cell_count "$world" "$METAL")
[ "${metal:-0}" -ge 1 ] || e2e_fail "the guest's metal block is not in $world: $(cell_counts "$world")"
PASSED=$((PASSED + 1))

e2e_log "the guest is told and is back at its start dialog"
e2e_side guest
box=$(net_expect_box Quaderwelt "Dein Mitspieler hat das Spiel beendet." guest-told)
net_answer_box_to_dialog "$box" Quaderwelt
e2e_screenshot guest-back >/dev/null
net_expect_no_world_saved
net_exit_from_dialog
PASSED=$((PASSED + 1))

echo "network, creative: $PASSED passed, 0 failed"
