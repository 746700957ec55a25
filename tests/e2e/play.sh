# Helpers for playing the game in the end-to-end tests, after lib.sh: what
# the screen shows, the game window and its menu, the start dialog's choices.
# The game window covers the screen, so screen and window pixels are one.

SKY="51,51,255"
GREY="128,128,128"
QW_WORLD_TOOL=${QW_WORLD_TOOL:-$(dirname "$QW_BIN")/quaderwelt-world}

# The screen's size and middle; call once the display runs.
play_screen() {
    read -r W H <<<"$(xdotool getdisplaygeometry)"
    CX=$((W / 2))
    CY=$((H / 2))
}

# Starts the program through a command that ends in running it, such as
# setpriv or unshare: "$@" is the whole command line.
start_app_through() {
    "$@" >>"$APP_LOG" 2>&1 &
    APP_PID=$!
}

# Root writes through any permission bits. Without the capabilities that
# allow it, the program meets a read-only folder as a user's program does.
# Prints the command prefix; fails when it cannot be had.
as_plain_user() {
    if [ "$(id -u)" -ne 0 ]; then return 0; fi
    local prefix="setpriv --bounding-set=-dac_override,-dac_read_search,-fowner --"
    $prefix true 2>/dev/null || return 1
    echo "$prefix"
}

# ---- looking at the screen ----

# The pixel's colour once it is $3, waiting a bounded time for it.
wait_pixel() {
    local x=$1 y=$2 colour=$3 what=$4 waited=0
    while [ "$(e2e_pixel "$x" "$y")" != "$colour" ]; do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "$what: $x,$y is $(e2e_pixel "$x" "$y"), not $colour"
    done
}

# Ground is any of the block colours: never as blue as the sky.
is_ground() {
    local r g b
    IFS=, read -r r g b <<<"$1"
    [ "$b" -lt "$r" ] || [ "$b" -lt "$g" ]
}

# Sky at the top and ground below in the view whose top is screen row $1
# and whose height is $2, each in at least one of five columns.
view_shows_world() {
    local top=$1 height=$2 x sky=0 ground=0
    for x in $((W / 8)) $((3 * W / 8)) "$CX" $((5 * W / 8)) $((7 * W / 8)); do
        [ "$(e2e_pixel "$x" $((top + 5)))" = "$SKY" ] && sky=$((sky + 1))
        is_ground "$(e2e_pixel "$x" $((top + height - 80)))" && ground=$((ground + 1))
    done
    [ "$sky" -ge 1 ] && [ "$ground" -ge 1 ]
}

# Waits until the view shows sky above ground. A world starts at random, so
# the player may face a house wall or a hill: then the view's player turns
# round a quarter at a time, as a player would look for open land.
expect_world_view() {
    local top=$1 height=$2 what=$3 turn waited
    for turn in 0 1 2 3 4; do
        if [ "$turn" -gt 0 ]; then
            if [ "$top" -eq 0 ] && [ "$height" -lt "$H" ]; then press KP_Left 0.5; else look 900 0; fi
        fi
        waited=0
        until view_shows_world "$top" "$height"; do
            sleep 0.25
            waited=$((waited + 1))
            [ "$waited" -le 8 ] && continue
            continue 2
        done
        return 0
    done
    e2e_fail "$what: no sky above ground in any direction"
}

crop() {
    local name=$1 x=$2 y=$3 w=$4 h=$5
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$E2E_ARTIFACTS/$name.png" 2>/dev/null
    echo "$E2E_ARTIFACTS/$name.png"
}

# Number of pixels in which two pictures differ.
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# Number of grey pixels (saturation below 8 %: the metal block, the crosshair,
# the menu panel) in the region x y w h of the screen. No block of the
# generated worlds but metal is grey.
grey_pixels() {
    import -window root -crop "${3}x${4}+${1}+${2}" +repage png:- 2>/dev/null |
        convert png:- -colorspace HSL -channel G -separate +channel -threshold 8% -negate \
            -format "%[fx:round(mean*w*h)]" info:
}

# Waits until the region's picture differs from the reference crop $1.
wait_changed() {
    local reference=$1 x=$2 y=$3 w=$4 h=$5 what=$6 waited=0 now
    while :; do
        now=$(crop changed "$x" "$y" "$w" "$h")
        [ "$(differing_pixels "$reference" "$now")" -gt 50 ] && return
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "$what: the picture did not change"
    done
}

# Waits until the region shows the same picture twice in a row (the figures
# have landed), leaving it in $E2E_ARTIFACTS/$1.png.
wait_still() {
    local name=$1 x=$2 y=$3 w=$4 h=$5 waited=0 before now
    before=$(crop "$name-before" "$x" "$y" "$w" "$h")
    while :; do
        sleep 0.3
        now=$(crop "$name" "$x" "$y" "$w" "$h")
        [ "$(differing_pixels "$before" "$now")" -eq 0 ] && return
        cp "$now" "$before"
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 3)) ] || e2e_fail "$name: the picture never came to rest"
    done
}

# Waits for the message box titled $1 to be mapped and painted on top (its
# light background at its corner, not the game's picture under it), saves a
# screenshot as $2 and prints the box's id.
wait_box_shown() {
    local title=$1 name=$2 box x y r g b waited=0
    box=$(e2e_wait_window "$title")
    read -r x y _ _ <<<"$(e2e_geometry "$box")"
    while :; do
        IFS=, read -r r g b <<<"$(e2e_pixel $((x + 4)) $((y + 4)))"
        [ "$r" -ge 200 ] && [ "$g" -ge 200 ] && [ "$b" -ge 200 ] && break
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "the '$title' box is not to be seen"
    done
    e2e_screenshot "$name" >/dev/null
    echo "$box"
}

# The slot of the creative mode's eight material slots that is chosen in
# the view whose bottom is screen row $1, read from one row of the screen
# through the frames' left edges; -1 when none is red.
selected_slot() {
    local left=$(( (W - 480) / 2 )) row slot x
    row=$(import -window root -crop "${W}x1+0+$(($1 - 30))" +repage -depth 8 txt:- 2>/dev/null)
    for slot in 0 1 2 3 4 5 6 7; do
        x=$((left + 60 * slot - 6))
        if grep -q "^$x,0: ([0-9]*,[0-9]*,[0-9]*)  *#FF0000" <<<"$row"; then
            echo "$slot"
            return
        fi
    done
    echo -1
}

# Waits until the view whose bottom is row $1 has slot $2 chosen.
expect_slot() {
    local bottom=$1 slot=$2 what=$3 waited=0
    while [ "$(selected_slot "$bottom")" != "$slot" ]; do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] ||
            e2e_fail "$what: slot $(selected_slot "$bottom") is chosen, not $slot"
    done
}

# ---- the game window and its menu ----

# Moves the pointer to screen point x, y and waits until the cursor seen
# there is $3 (shown or hidden). Needs QW_CURSOR, the cursor helper.
expect_cursor() {
    : "${QW_CURSOR:?QW_CURSOR must name the cursor helper}"
    local x=$1 y=$2 state=$3 what=$4 waited=0
    xdotool mousemove "$x" "$y"
    while [ "$("$QW_CURSOR")" != "$state" ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "$what: the cursor is not $state"
    done
}

# Closes the message box $1 titled $2 with Return, the pointer back in the
# middle so that the next frame's mouse look does not turn the view, and
# hands the keyboard to the game window $3 (no window manager does it here).
answer_box() {
    local box=$1 title=$2 game=$3
    xdotool mousemove "$CX" "$CY"
    e2e_keys "$box" Return
    e2e_wait_window_gone "$title"
    xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
}

# A corner of the game window that no message box covers.
corner_x() { echo 20; }
corner_y() { echo $((H - 100)); }

wait_game_window() {
    local waited=0 window
    while :; do
        for window in $(e2e_windows "$DIALOG_TITLE"); do
            if [ "$(e2e_geometry "$window")" = "0 0 $W $H" ]; then
                echo "$window"
                return
            fi
        done
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "no game window covering the screen"
    done
}

# The play overlay of a view: the white crosshair in its middle.
wait_crosshair() { wait_pixel $((CX + 5)) "$1" "255,255,255" "crosshair"; }

press() {
    xdotool keydown "$1"
    sleep "${2:-0.1}"
    xdotool keyup "$1"
}

# Walks with each of the keys $1 in turn until the region x y w h of the
# screen changes: a hill or a house may stand in the way of one direction.
# Whether holding the keys in turn changes the region x y w h.
walks() {
    local keys=$1 x=$2 y=$3 w=$4 h=$5 key tick before
    for key in $keys; do
        play_on_if_round_ended
        before=$(crop walk-before "$x" "$y" "$w" "$h")
        press "$key" 0.8
        for tick in 1 2 3 4 5 6 7 8; do
            changed_by_player "$before" "$(crop walk-after "$x" "$y" "$w" "$h")" && return 0
            sleep 0.25
        done
    done
    return 1
}

# A random world may wall a figure in where it starts (the second player's
# start inside a house's wall, say). A player starts the next round then,
# and so does the test, once.
expect_walking() {
    local keys=$1 x=$2 y=$3 w=$4 h=$5 what=$6
    walks "$keys" "$x" "$y" "$w" "$h" && return
    e2e_log "$what: walled in, a new round"
    open_menu walled-in
    menu_new_round
    wait_menu_gone
    sleep 0.5
    walks "$keys" "$x" "$y" "$w" "$h" && return
    e2e_fail "$what: walking with $keys changed nothing"
}

# Places a block with the right button where the crosshair points and waits
# until the region x y w h changes. A block that would trap the player is
# taken back, so after a refusal the player looks a little farther ahead.
place_block() { edit_block 3 -60 "$@"; }

# Digs out the block the crosshair points at with the left button, looking
# further down when nothing was in reach.
dig_block() { edit_block 1 60 "$@"; }

# Clicks button $1 until the region $3 ... changes, turning the view by $2
# pixels of pitch between tries; when two turns that way found nothing (the
# random world may put sky or an unreachable cell there), it tries the other
# side of where it started.
edit_block() {
    local button=$1 pitch=$2 x=$3 y=$4 w=$5 h=$6 turn tick before
    for turn in 1 1 -3 -1 0; do
        before=$(crop edit-before "$x" "$y" "$w" "$h")
        xdotool click "$button"
        for tick in 1 2 3 4 5 6 7 8; do
            sleep 0.25
            [ "$(differing_pixels "$before" "$(crop edit-after "$x" "$y" "$w" "$h")")" -gt 50 ] && return
        done
        [ "$turn" -eq 0 ] && break
        look 0 $((pitch * turn))
        sleep 0.3
    done
    e2e_fail "button $button changed no block"
}

# Looks with the mouse: the game turns by a tenth of a degree per pixel.
look() {
    xdotool mousemove "$CX" "$CY"
    sleep 0.1
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.3
}

# Turns player 1 with the mouse until the region x y w h changes. The game
# puts the pointer back in the middle every frame; a move that lands between
# a frame's reading and that reset is lost, so it is made again.
expect_turning() {
    local x=$1 y=$2 w=$3 h=$4 what=$5 try tick before
    for try in 1 2 3; do
        play_on_if_round_ended
        before=$(crop turn-before "$x" "$y" "$w" "$h")
        look 300 0
        for tick in 1 2 3 4 5 6 7 8; do
            changed_by_player "$before" "$(crop turn-after "$x" "$y" "$w" "$h")" && return
            sleep 0.25
        done
    done
    e2e_fail "$what: turning with the mouse changed nothing"
}

click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click "$3"
    sleep 0.2
}

# Esc opens the menu over the whole window: its grey panel with a black frame.
open_menu() {
    # In the search mode the computer may have ended the round: its menu is
    # open already, and Esc would close it.
    [ "$(e2e_pixel $((CX - 250)) $((CY + 60)))" = "$GREY" ] || press Escape
    wait_pixel $((CX - 250)) $((CY + 60)) "$GREY" "menu panel"
    wait_pixel $((CX - 305)) "$CY" "0,0,0" "menu frame"
    e2e_screenshot "$1" >/dev/null
}

# The quit menu has a third button, "Neues Spiel"; the round-end menu not.
menu_has_third_button() { [ "$(e2e_pixel $((CX - 150)) $((CY + 50)))" != "$GREY" ]; }
round_end_menu_shown() { [ "$(e2e_pixel $((CX - 250)) $((CY + 60)))" = "$GREY" ] && ! menu_has_third_button; }

# In the search mode the computer may find the emerald while the player is
# being tried out; its round-end menu stops walking and looking. A player
# starts the next round then, and so does the test.
play_on_if_round_ended() {
    round_end_menu_shown || return 0
    e2e_log "the computer ended the round: a new one"
    click_menu_right
    wait_menu_gone
    sleep 0.3
}

# Whether the picture changed by the player's doing, not by a round's end.
changed_by_player() { [ "$(differing_pixels "$1" "$2")" -gt 50 ] && ! round_end_menu_shown; }
click_menu_quit() { click_at $((CX - 60)) "$CY" 1; }
click_menu_third() { click_at $((CX - 60)) $((CY + 70)) 1; }
click_menu_right() { click_at $((CX + 60)) "$CY" 1; }

# "Neues Spiel" from the menu, whichever menu is open (in the search mode
# the computer may have found the emerald meanwhile).
menu_new_round() {
    if menu_has_third_button; then click_menu_third; else click_menu_right; fi
}

wait_menu_gone() {
    local waited=0
    while [ "$(e2e_pixel $((CX - 250)) $((CY + 60)))" = "$GREY" ]; do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "the menu stayed open"
    done
}

close_game() {
    e2e_request_close "$1"
    local waited=0
    while [ "$(e2e_count_windows "$DIALOG_TITLE")" -ne 1 ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "the game window did not close"
    done
    e2e_app_running || e2e_fail "closing the game window ended the program"
    e2e_expect_no_window Fehler
}

# ---- the start dialog ----

choose() {
    local dialog=$1 players=$2 mode=$3
    case $players in
        1) e2e_dialog_click "$dialog" 20 16 ;;
        2) e2e_dialog_click "$dialog" 20 32 ;;
    esac
    case $mode in
        search) e2e_dialog_click "$dialog" 40 72 ;;
        creative) e2e_dialog_click "$dialog" 40 88 ;;
        fight) e2e_dialog_click "$dialog" 40 104 ;;
    esac
}

set_new_world_name() {
    e2e_dialog_click "$1" 200 234
    e2e_keys "$1" ctrl+a
    e2e_type "$1" "$2"
}

# A world file with the magic and a block length, then no zlib stream at all.
write_damaged_world() {
    {
        printf '\x49\xda\xd2\x25\x64\x00\x00\x00'
        head -c 100 /dev/zero | tr '\0' '\253'
        head -c 80 /dev/zero
    } >"$1"
}

# A generated world at $1 that holds no metal (code 2), so a metal block
# the player builds can be told from the world.
write_world_without_metal() {
    "$QW_WORLD_TOOL" generate --seed 7 "$1" >/dev/null
    [ -z "$(cell_count "$1" 2)" ] || e2e_fail "the generated world holds metal already"
}

# The cell counts of a saved world, one "cells CODE: COUNT" line each.
cell_counts() { "$QW_WORLD_TOOL" info "$1" | grep '^cells ' || true; }
cell_count() { cell_counts "$1" | sed -n "s/^cells $2: //p"; }
