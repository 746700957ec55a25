#!/bin/bash
# A fight round over the network from the join to its end. The guest looks
# straight down and fires: its own fire burns it, a life each time the fire
# goes out, and after the tenth the round is over. The guest's screen says
# the other has won, the host's that the host has; "Neues Spiel" from the
# guest starts the next round on both. Then the guest ends and the host is
# told.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
source "$(dirname "$0")/net.sh"
PASSED=0
LIVES=10

# The lives the screen shows: the red bar under "Leben" is 4 pixels a life.
lives_shown() {
    import -window root -crop 60x1+8+35 +repage "$E2E_TMP/lives.png" 2>/dev/null
    echo $(($(count_colour "$E2E_TMP/lives.png" "#ff0000") / 4))
}

# How far right the first line of the round-end menu's white text reaches.
title_end() {
    local shot=$1
    convert "$shot" -crop 560x18+$((CX - 280))+$((CY - 92)) +repage -fuzz 10% -fill black +opaque white \
        -trim -format "%[fx:page.x+w]" info: 2>/dev/null
}

e2e_log "host: a fight, waiting"
e2e_side host
play_screen
e2e_start_app
dialog=$(e2e_wait_dialog)
choose "$dialog" 0 fight
port=$(net_free_port)
waiting=$(net_open_host "$dialog" "$port")
code=$(net_read_code "$waiting")
e2e_log "the code is $code, on port $port"

e2e_side guest
e2e_start_app
dialog=$(e2e_wait_dialog)
net_join "$dialog" "127.0.0.1:$port" "$code"
guest_game=$(wait_game_window)
wait_crosshair "$CY"
wait_pixel 12 35 "255,0,0" "the guest's lives bar"
[ "$(lives_shown)" -eq "$LIVES" ] || e2e_fail "the guest starts with $(lives_shown) lives"
e2e_screenshot guest-fight-start >/dev/null
e2e_side host
host_game=$(wait_game_window)
wait_crosshair "$CY"
[ "$(lives_shown)" -eq "$LIVES" ] || e2e_fail "the host starts with $(lives_shown) lives"
e2e_screenshot host-fight-start >/dev/null
PASSED=$((PASSED + 1))

e2e_log "the guest looks straight down and fires at its feet, life after life"
e2e_side guest
# The pointer stops at the screen's edge, so one move turns at most half a
# screen's worth; three turn the view as far down as it goes.
for _ in 1 2 3; do look 0 350; done
lives=$LIVES
shots=0
started=$SECONDS
until round_end_menu_shown; do
    shots=$((shots + 1))
    [ "$shots" -le 25 ] && [ $((SECONDS - started)) -le 150 ] ||
        e2e_fail "no round end after $shots shots and $((SECONDS - started)) s ($lives lives shown)"
    # Each fire throws the guest up, and it falls back into the deeper hole.
    # A shot fired in the air lands below its reach; a player waits to land.
    wait_still guest-landed 0 0 "$W" $((H - 70))
    round_end_menu_shown && break
    xdotool mousemove "$CX" "$CY" click 1   # the weapon is the item a fight starts with
    waited=0
    while :; do
        sleep 0.25
        round_end_menu_shown && break
        now=$(lives_shown)
        if [ "$now" -lt "$lives" ]; then
            [ "$now" -eq $((lives - 1)) ] || e2e_fail "one fire took $((lives - now)) lives"
            lives=$now
            break
        fi
        waited=$((waited + 1))
        # Lost in the hole of the shot before: fired again once landed.
        [ "$waited" -le 12 ] || break
    done
done
e2e_log "the round ended after $shots shots"
# The last fire's loss may or may not be drawn before the menu covers it.
[ "$lives" -le 1 ] && [ "$shots" -ge "$LIVES" ] || e2e_fail "the round ended after $shots shots with $lives lives shown"
guest_shot=$(e2e_screenshot guest-lost)
e2e_side host
waited=0
until round_end_menu_shown; do
    sleep 0.25
    waited=$((waited + 1))
    [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "the host shows no round end"
done
host_shot=$(e2e_screenshot host-won)
# "Der Gegner hat gewonnen!" is the longer line by seven letters.
guest_end=$(title_end "$guest_shot")
host_end=$(title_end "$host_shot")
[ -n "$guest_end" ] && [ -n "$host_end" ] && [ "$guest_end" -gt $((host_end + 40)) ] ||
    e2e_fail "the round-end lines do not read loser and winner: they end at ${guest_end:-?} (guest) and ${host_end:-?} (host)"
PASSED=$((PASSED + 1))

e2e_log "Neues Spiel from the guest: a new round on both, lives full again"
e2e_side guest
click_menu_right
wait_menu_gone
wait_crosshair "$CY"
waited=0
until [ "$(lives_shown)" -eq "$LIVES" ]; do
    sleep 0.25
    waited=$((waited + 1))
    [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "the guest's new round has $(lives_shown) lives"
done
e2e_screenshot guest-new-round >/dev/null
e2e_side host
wait_menu_gone
wait_crosshair "$CY"
e2e_screenshot host-new-round >/dev/null
PASSED=$((PASSED + 1))

e2e_log "the guest ends with Esc and Beenden; the host is told and is back at its start dialog"
e2e_side guest
open_menu guest-quit-menu
click_menu_quit
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "Beenden on the guest: exit status $APP_STATUS"
e2e_side host
box=$(net_expect_box Quaderwelt "Dein Mitspieler hat das Spiel beendet." host-told)
net_answer_box_to_dialog "$box" Quaderwelt
[ -z "$(ls "$DATA_DIR" 2>/dev/null | grep '\.lev$')" ] || e2e_fail "a fight saved a world: $(ls "$DATA_DIR")"
net_exit_from_dialog
PASSED=$((PASSED + 1))

echo "network, fight: $PASSED passed, 0 failed"
