# Helpers of the network tests, after lib.sh and play.sh: the Netzwerk menu
# of the start dialog, the host's waiting dialog and its code, the guest's
# join, and what the message boxes say. Each side is a computer of its own
# (see e2e_side); they meet through 127.0.0.1.

: "${QW_TEXT:?QW_TEXT must name the screen text helper}"

HOST_TITLE="Netzwerkspiel eröffnen"
JOIN_TITLE="Netzwerkspiel beitreten"
# GTK's own font under a desktop without settings, as the dialogs use it; the
# code is shown bold at 1.6 times its size.
UI_FONT="Sans 10"
CODE_FONT="Sans Bold 16"

# A UDP port nobody on this machine listens on. Other tests, even other
# people's, may run a game at the same time, so none takes the default.
net_free_port() {
    local port try
    for try in $(seq 50); do
        port=$((20000 + RANDOM % 40000))
        [ -z "$(ss -Hlun "sport = :$port")" ] && { echo "$port"; return; }
    done
    e2e_fail "no free UDP port"
}

# Whether the program listens on UDP port $1.
net_listening() { [ -n "$(ss -Hlun "sport = :$1")" ]; }

# Opens item $2 (1: eröffnen, 2: beitreten) of the start dialog's Netzwerk
# menu, the second menu of its bar, with the keyboard.
net_menu() {
    local dialog=$1 item=$2
    e2e_keys "$dialog" F10
    sleep 0.3
    xdotool key Right
    sleep 0.3
    for _ in $(seq "$item"); do xdotool key Down; done
    sleep 0.2
    xdotool key Return
}

# Where text $2 (in font $3, the dialog font if not given) is in window $1:
# "x y width height", waiting a bounded time for it to be drawn.
net_find_text() {
    local window=$1 text=$2 font=${3:-$UI_FONT} waited=0 place
    until place=$("$QW_TEXT" "$window" "$font" "$text" 2>/dev/null); do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "'$text' is not to be seen: $("$QW_TEXT" "$window" "$font" "$text" 2>&1)"
    done
    echo "$place"
}

# Eröffnen in the start dialog $1 with its present choices, the port set to
# $2 in the waiting dialog as a player types it. Prints the waiting dialog's
# id once the host listens there.
net_open_host() {
    local dialog=$1 port=$2 waiting x y w h waited=0
    net_menu "$dialog" 1
    waiting=$(e2e_wait_window "$HOST_TITLE")
    net_find_text "$waiting" "Warte auf einen Mitspieler …" "Sans Bold 10" >/dev/null
    read -r x y w h <<<"$(net_find_text "$waiting" "Port:")"
    # Into the port field right of its label; Return takes the new port.
    xdotool windowfocus --sync "$waiting" 2>/dev/null || xdotool windowfocus "$waiting"
    e2e_click "$waiting" $((x + w + 30)) $((y + h / 2))
    xdotool key ctrl+a
    xdotool type --delay 30 "$port"
    xdotool key Return
    until net_listening "$port"; do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "the host does not listen on port $port"
    done
    echo "$waiting"
}

# The six digits of the code in the waiting dialog $1. They are read from
# its pixels (see ScreenText.cpp): the code is made fresh for each game and
# shown nowhere else.
net_read_code() {
    local waiting=$1 code waited=0
    until code=$("$QW_TEXT" "$waiting" "$CODE_FONT" "Code:" 6 2>/dev/null) && [[ $code =~ ^[1-9][0-9]{5}$ ]]; do
        sleep 0.25
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 4)) ] || e2e_fail "no code in the waiting dialog"
    done
    echo "$code"
}

# On the host's side, once the guest has joined: the waiting dialog gone and
# the game window playing, its picture saved as screenshot $1. Prints the
# game window's id.
net_host_game_started() {
    local game
    game=$(wait_game_window)
    e2e_wait_window_gone "$HOST_TITLE"
    wait_crosshair "$CY"
    e2e_screenshot "$1" >/dev/null
    echo "$game"
}

# A guest never keeps a world of its own: its folder holds no world file.
net_expect_no_world_saved() {
    [ -z "$(ls "$DATA_DIR" 2>/dev/null | grep '\.lev$')" ] || e2e_fail "the guest saved a world: $(ls "$DATA_DIR")"
}

# Beitreten from the start dialog $1 to address $2 with code $3. With a
# fourth word "remembered" the dialog must offer the address from the last
# join and start in the code field; otherwise the address is typed in.
net_join() {
    local dialog=$1 address=$2 code=$3 remembered=${4:-} ask x y w h
    net_menu "$dialog" 2
    ask=$(e2e_wait_window "$JOIN_TITLE")
    read -r x y w h <<<"$(net_find_text "$ask" "Adresse des Gastgebers:")"
    xdotool windowfocus --sync "$ask" 2>/dev/null || xdotool windowfocus "$ask"
    sleep 0.2
    if [ "$remembered" = remembered ]; then
        net_find_text "$ask" "$address" >/dev/null
    else
        # Into the address field under its label, whatever it holds.
        e2e_click "$ask" $((x + 20)) $((y + h + 20))
        xdotool key ctrl+a
        xdotool type --delay 30 "$address"
        xdotool key Tab
    fi
    xdotool type --delay 30 "$code"
    sleep 0.2
    e2e_screenshot "$E2E_SIDE-join-$code" >/dev/null
    xdotool key Return
}

# Waits for the message box titled $1 saying $2, saves a screenshot as $3 and
# prints the box's id.
net_expect_box() {
    local title=$1 text=$2 name=$3 box
    box=$(wait_box_shown "$title" "$name")
    net_find_text "$box" "$text" >/dev/null
    echo "$box"
}

# Closes the box $1 with Return; then the game window must be gone and the
# start dialog back.
net_answer_box_to_dialog() {
    local box=$1 title=$2 waited=0
    e2e_keys "$box" Return
    e2e_wait_window_gone "$title"
    until [ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "$E2E_SIDE: the game window did not close"
    done
    e2e_app_running || e2e_fail "$E2E_SIDE: the program ended instead of showing its start dialog"
}

# The start dialog is back and takes clicks: "Beenden" ends the program well.
net_exit_from_dialog() {
    local dialog
    dialog=$(e2e_wait_dialog)
    e2e_press_exit "$dialog"
    e2e_wait_app_exit
    [ "$APP_STATUS" -eq 0 ] || e2e_fail "$E2E_SIDE: exit status $APP_STATUS"
}

# Number of pixels of colour $2 (within a few per cent) in the picture $1.
count_colour() {
    convert "$1" -fuzz 12% -fill black +opaque "$2" -fill white -opaque "$2" -format "%[fx:int(mean*w*h+0.5)]" info:
}
