#!/bin/bash
# A program folder with a file missing, and sound that is not there or goes
# away: the missing file is reported once, sound failures not at all, and the
# start dialog and the game work as always.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
e2e_setup
play_screen
PASSED=0

# A copy of the program folder, named $1, without the files named after it;
# prints its path. The program finds its data beside its own executable.
program_folder_without() {
    local folder="$E2E_TMP/$1" file
    shift
    mkdir -p "$folder"
    for file in "$(dirname "$QW_BIN")"/*; do
        case $file in
            *.png | *.wav | *.mp3 | *.mlf) cp -L "$file" "$folder/" ;;
        esac
    done
    for file in "$@"; do rm "$folder/$file"; done
    cp -L "$QW_BIN" "$folder/quaderwelt"
    echo "$folder"
}

# The standard error box at start-up, saved as missing-$1; then the dialog.
expect_startup_error() {
    local box
    box=$(wait_box_shown Quaderwelt "missing-$1")
    [ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 0 ] || e2e_fail "the dialog came before the error box"
    e2e_keys "$box" Return
    e2e_wait_window_gone Quaderwelt
    e2e_expect_no_window Quaderwelt
    dialog=$(e2e_wait_dialog)
}

# A round for two players (no computer in the way): both views, both walk,
# the menu opens and "Beenden" ends the program normally.
play_two_players() {
    local mode=$1 name=$2
    choose "$dialog" 2 "$mode"
    e2e_press_play_new "$dialog"
    game=$(wait_game_window)
    wait_pixel "$CX" 5 "$SKY" "$name: sky in the upper view"
    wait_pixel "$CX" $((CY + 5)) "$SKY" "$name: sky in the lower view"
    xdotool click 1   # player 1 digs or fires
    expect_walking "Up Down Left Right" 0 $((CY / 2 + 20)) "$W" $((CY / 2 - 90)) "$name: player 2"
    e2e_screenshot "$name-playing" >/dev/null
    open_menu "$name-menu"
    click_menu_quit
    e2e_wait_app_exit
    [ "$APP_STATUS" -eq 0 ] || e2e_fail "$name: exit status $APP_STATUS"
}

e2e_log "no font file, and the sound device fails at its first write"
folder=$(program_folder_without no-font Arial.mlf)
start_app_through env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full "$folder/quaderwelt"
expect_startup_error Arial.mlf
play_two_players fight no-font
PASSED=$((PASSED + 1))

e2e_log "no metal texture, half a grass texture, and no usable sound driver at all"
folder=$(program_folder_without textures metal.png)
head -c 300 "$(dirname "$QW_BIN")/gras.png" >"$folder/gras.png"
start_app_through env SDL_AUDIODRIVER=no-such-driver "$folder/quaderwelt"
expect_startup_error textures
play_two_players search no-grass
PASSED=$((PASSED + 1))

echo "start-up failures: $PASSED passed, 0 failed"
