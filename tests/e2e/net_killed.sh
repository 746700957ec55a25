#!/bin/bash
# One computer of a network game dies (SIGKILL) mid-round. The other notices
# within 10 s, says "Die Verbindung zum Mitspieler ist abgebrochen." and is
# back at its start dialog: first a killed guest, the creative host saving
# the round's world as on closing its window; then a killed host, the guest
# alone again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
source "$(dirname "$0")/net.sh"
[ -x "$QW_WORLD_TOOL" ] || e2e_fail "no world tool at $QW_WORLD_TOOL"
PASSED=0
METAL=2
LOST="Die Verbindung zum Mitspieler ist abgebrochen."
# A silent peer is given up after 10 s; the box and a loaded machine may
# take a little longer.
NOTICE_LIMIT_MS=13000

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Waits for the box that says the connection broke, at most a little past
# ENet's timeout since $1 (ms), and prints its id.
expect_lost_since() {
    local killed=$1 name=$2 box took
    until [ "$(e2e_count_windows Fehler)" -gt 0 ]; do
        [ $(($(now_ms) - killed)) -le "$NOTICE_LIMIT_MS" ] || e2e_fail "$E2E_SIDE: no notice within $((NOTICE_LIMIT_MS / 1000)) s"
        sleep 0.2
    done
    took=$(($(now_ms) - killed))
    e2e_log "$E2E_SIDE: told after $took ms" >&2
    box=$(net_expect_box Fehler "$LOST" "$name")
    echo "$box"
}

# Both sides in a game: the host's dialog $1 opens one on a new port, the
# guest's dialog $2 joins it.
play_together() {
    local host_dialog=$1 guest_dialog=$2 port waiting code
    e2e_side host
    port=$(net_free_port)
    waiting=$(net_open_host "$host_dialog" "$port")
    code=$(net_read_code "$waiting")
    e2e_side guest
    net_join "$guest_dialog" "127.0.0.1:$port" "$code"
    wait_game_window >/dev/null
    wait_crosshair "$CY"
    e2e_side host
    wait_game_window >/dev/null
    wait_crosshair "$CY"
}

e2e_side host
play_screen
e2e_start_app
host_dialog=$(e2e_wait_dialog)
choose "$host_dialog" 0 creative
set_new_world_name "$host_dialog" "Absturz"
e2e_side guest
e2e_start_app
guest_dialog=$(e2e_wait_dialog)

e2e_log "a creative game; the host builds a metal block, then the guest's program is killed"
play_together "$host_dialog" "$guest_dialog"
e2e_side host
look 0 250   # down at the ground ahead
press 2      # metal, the second slot
wait_pixel $((CX - 240 + 60 - 6)) $((H - 30)) "255,0,0" "metal selected on the host"
wait_still host-before-block 0 0 "$W" $((H - 70))
place_block 0 0 "$W" $((H - 70))
e2e_screenshot host-built >/dev/null
e2e_side guest
e2e_kill_app
killed=$(now_ms)
e2e_side host
box=$(expect_lost_since "$killed" host-lost-guest)
net_answer_box_to_dialog "$box" Fehler
e2e_screenshot host-back >/dev/null
PASSED=$((PASSED + 1))

e2e_log "the host saved the round's world, with its block"
# A generated world has no metal; a click that seemed to do nothing on a
# loaded machine may have put a second block down.
metal=$(cell_count "$DATA_DIR/Absturz.lev" "$METAL")
[ "${metal:-0}" -ge 1 ] || e2e_fail "Absturz.lev is not the round's world: $(cell_counts "$DATA_DIR/Absturz.lev")"
PASSED=$((PASSED + 1))

e2e_log "a search game with a new guest program; then the host's program is killed"
choose "$host_dialog" 0 search
e2e_side guest
e2e_start_app
guest_dialog=$(e2e_wait_dialog)
play_together "$host_dialog" "$guest_dialog"
e2e_kill_app
killed=$(now_ms)
e2e_side guest
box=$(expect_lost_since "$killed" guest-lost-host)
net_answer_box_to_dialog "$box" Fehler
e2e_screenshot guest-back >/dev/null
net_expect_no_world_saved
net_exit_from_dialog
PASSED=$((PASSED + 1))

echo "network, killed: $PASSED passed, 0 failed"
