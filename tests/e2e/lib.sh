# Shared helpers of the end-to-end tests. Each test gets its own Xvfb, its own
# HOME and XDG folders in a temporary directory, starts the real program and
# drives it with xdotool as a user would. Everything is removed on exit.
#
# Needs QW_BIN (the program) and QW_WM_CLOSE (the close-request helper).

set -euo pipefail

: "${QW_BIN:?QW_BIN must name the quaderwelt executable}"
: "${QW_WM_CLOSE:?QW_WM_CLOSE must name the close-request helper}"

E2E_TIMEOUT=${E2E_TIMEOUT:-20}   # seconds any single wait may take
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qw-e2e.XXXXXX")
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$E2E_TMP}
XVFB_PID=""
APP_PID=""
APP_LOG="$E2E_TMP/app.log"
E2E_SIDES=()   # the computers of a network test, see e2e_side
E2E_SIDE=""

e2e_cleanup() {
    local status=$?
    if [ "${#E2E_SIDES[@]}" -gt 0 ]; then
        local side
        for side in "${E2E_SIDES[@]}"; do
            e2e_side "$side"
            e2e_stop_side "$status"
        done
    else
        e2e_stop_side "$status"
    fi
    if [ "$status" -eq 0 ]; then
        rm -rf "$E2E_TMP"
    else
        echo "(kept for inspection: $E2E_TMP)" >&2
    fi
}

# Ends the program and the display of the present side; after a failure
# the program's last words are shown.
e2e_stop_side() {
    e2e_stop_app
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; XVFB_PID=""; fi
    if [ "$1" -ne 0 ] && [ -f "$APP_LOG" ]; then
        echo "--- program output${E2E_SIDE:+ ($E2E_SIDE)} ---" >&2
        tail -n 40 "$APP_LOG" >&2
    fi
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ "${#E2E_SIDES[@]}" -gt 0 ]; then
        local side
        for side in "${E2E_SIDES[@]}"; do
            e2e_side "$side"
            e2e_screenshot "failure-$side" >/dev/null || true
        done
    else
        e2e_screenshot "failure" || true
    fi
    exit 1
}

e2e_log() { echo "# [${SECONDS}s] $*"; }

# A private display; -displayfd picks a free number, so tests never share one.
e2e_start_display() {
    local fifo="$E2E_TMP/displayfd${E2E_SIDE:+-$E2E_SIDE}"
    mkfifo "$fifo"
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800x24}" -nolisten tcp ${E2E_XVFB_ARGS:-} 3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local number
    if ! read -r -t "$E2E_TIMEOUT" number <"$fifo"; then e2e_fail "Xvfb did not start"; fi
    export DISPLAY=":$number"
}

# A private home with the XDG folders the program uses, in $1 if given.
e2e_private_home() {
    export HOME="${1:-$E2E_TMP/home}"
    export XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CONFIG_HOME="$HOME/.config"
    export XDG_CACHE_HOME="$HOME/.cache"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
    export NO_AT_BRIDGE=1 SDL_AUDIODRIVER=dummy LANG=C.UTF-8 LC_ALL=C.UTF-8
    # Every message box is also written to the program's output, so its text
    # can be checked, not only its title.
    export QUADERWELT_MESSAGE_LOG=1
    DATA_DIR="$XDG_DATA_HOME/Korland/Quaderwelt 1"
}

e2e_setup() {
    e2e_start_display
    e2e_private_home
}

e2e_start_app() {
    "$QW_BIN" >>"$APP_LOG" 2>&1 &
    APP_PID=$!
}

e2e_stop_app() {
    if [ -n "$APP_PID" ]; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
        APP_PID=""
    fi
}

e2e_app_running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# Waits (bounded) until the program has ended; fails if it does not. Its exit
# status is left in APP_STATUS.
APP_STATUS=""
e2e_wait_app_exit() {
    local waited=0
    while e2e_app_running; do
        # A finished child stays a zombie until waited for.
        if ! ps -o stat= -p "$APP_PID" | grep -qv Z; then break; fi
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "the program did not end"
    done
    APP_STATUS=0
    wait "$APP_PID" 2>/dev/null || APP_STATUS=$?
    APP_PID=""
}

# Prints the id of the visible window whose title is $1 (xdotool compares
# without regard to case), waiting for it.
e2e_wait_window() {
    local title=$1 id
    id=$(timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1) ||
        e2e_fail "no window titled '$title' appeared"
    [ -n "$id" ] || e2e_fail "no window titled '$title' appeared"
    echo "$id"
}

# Waits until no visible window has the title $1.
e2e_wait_window_gone() {
    local title=$1 waited=0
    while xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "window '$title' did not go away"
    done
}

# Number of visible windows titled $1.
e2e_count_windows() { xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null | wc -l; }

# Visible windows titled $1, one id a line.
e2e_windows() { xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null || true; }

# "x y width height" of window $1.
e2e_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# Clicks at x, y relative to window $1.
e2e_click() {
    # No --sync: it waits for a movement that never comes when the pointer is there already.
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.1
    xdotool click 1
    sleep 0.2
}

e2e_double_click() {
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.1
    xdotool click --repeat 2 --delay 80 1
    sleep 0.2
}

# Gives window $1 the keyboard focus and presses the keys that follow.
e2e_keys() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.1
    xdotool key --delay 50 "$@"
    sleep 0.2
}

e2e_type() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.1
    xdotool type --delay 30 "$1"
    sleep 0.2
}

# Asks window $1 to close, as a window manager's close button does.
e2e_request_close() { "$QW_WM_CLOSE" "$1"; }

# Saves the whole screen as $E2E_ARTIFACTS/<name>.png and prints the path.
e2e_screenshot() {
    local path="$E2E_ARTIFACTS/$1.png"
    import -window root "$path" 2>/dev/null
    echo "$path"
}

# The colour of screen pixel x, y as "r,g,b" (0-255).
e2e_pixel() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
        sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# The start dialog: its title, and where its controls are. The layout is
# fixed in client pixels below the menu bar; the dialog may be wider than
# designed when the desktop font needs it, never narrower.
DIALOG_TITLE="Korland Quaderwelt 1.0"
DIALOG_CLIENT_HEIGHT=539

e2e_wait_dialog() { e2e_wait_window "$DIALOG_TITLE"; }

# Clicks the start dialog's control at client x, y (left column buttons and
# the list keep their x however wide the dialog is). On a scaled desktop
# (GDK_SCALE) the screen pixels are that many times the dialog's.
e2e_dialog_click() {
    local dialog=$1 x=$2 y=$3 scale=${GDK_SCALE:-1} geometry menu
    geometry=($(e2e_geometry "$dialog"))
    menu=$((geometry[3] - DIALOG_CLIENT_HEIGHT * scale))
    e2e_click "$dialog" $((x * scale)) $((y * scale + menu))
}

e2e_press_play_selected() { e2e_dialog_click "$1" 100 452; }
e2e_press_play_new() { e2e_dialog_click "$1" 300 452; }
e2e_press_delete() { e2e_dialog_click "$1" 100 484; }
e2e_press_rename() { e2e_dialog_click "$1" 100 516; }
e2e_press_exit() { e2e_dialog_click "$1" 300 500; }

# Double-clicks the first row of the world list.
e2e_double_click_first_world() {
    local dialog=$1 scale=${GDK_SCALE:-1} geometry menu
    geometry=($(e2e_geometry "$dialog"))
    menu=$((geometry[3] - DIALOG_CLIENT_HEIGHT * scale))
    e2e_double_click "$dialog" $((100 * scale)) $((307 * scale + menu))
}

# Expects a message box titled $1 to appear and closes it with the key $2.
e2e_answer_box() {
    local box
    box=$(e2e_wait_window "$1")
    e2e_keys "$box" "$2"
    e2e_wait_window_gone "$1"
}

# The texts of the message boxes titled $1 that the program has opened, one
# a line, oldest first.
e2e_box_texts() { sed -n "s/^quaderwelt: message box \"$1\": //p" "$APP_LOG"; }

# Fails unless the last box titled $1 said exactly $2.
e2e_expect_box_text() {
    local said
    said=$(e2e_box_texts "$1" | tail -n 1)
    [ "$said" = "$2" ] || e2e_fail "the '$1' box says '$said', not '$2'"
}

# Fails unless no window titled $1 shows up within a second.
e2e_expect_no_window() {
    sleep 1
    [ "$(e2e_count_windows "$1")" -eq 0 ] || e2e_fail "unexpected window '$1'"
}

# ---- two computers ----

# A network test plays two computers on this one: each side has its own
# Xvfb, its own home and XDG folders and its own program. `e2e_side NAME`
# makes NAME the present side, setting it up the first time; DISPLAY, HOME,
# the XDG folders, DATA_DIR, APP_PID and APP_LOG are then that side's, so
# every helper acts on it. Sides meet through 127.0.0.1 only.
declare -A E2E_SIDE_DISPLAY=() E2E_SIDE_XVFB=() E2E_SIDE_APP=()
e2e_side() {
    local name=$1
    if [ -n "$E2E_SIDE" ]; then
        E2E_SIDE_APP[$E2E_SIDE]=$APP_PID
        E2E_SIDE_XVFB[$E2E_SIDE]=$XVFB_PID
    fi
    E2E_SIDE=$name
    e2e_private_home "$E2E_TMP/$name/home"
    APP_LOG="$E2E_TMP/$name.log"
    if [ -z "${E2E_SIDE_DISPLAY[$name]:-}" ]; then
        E2E_SIDES+=("$name")
        # Named before it runs, so that a failing start is cleaned up once.
        E2E_SIDE_DISPLAY[$name]=":none"
        XVFB_PID=""
        APP_PID=""
        e2e_start_display
        E2E_SIDE_DISPLAY[$name]=$DISPLAY
        return
    fi
    export DISPLAY=${E2E_SIDE_DISPLAY[$name]}
    XVFB_PID=${E2E_SIDE_XVFB[$name]}
    APP_PID=${E2E_SIDE_APP[$name]}
}

# Ends the present side's program at once, as a crash or a pulled plug
# would: no chance to tell the other side.
e2e_kill_app() {
    [ -n "$APP_PID" ] || e2e_fail "no program to kill${E2E_SIDE:+ on $E2E_SIDE}"
    kill -KILL "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=""
}
