#!/bin/bash
# Installs the build into a temporary prefix and checks what a player gets
# from there: launchers that lead to the program folder with every data file,
# links that stay inside the prefix, a valid menu entry with its icons and
# AppStream data, readable manual pages, the tool working from another
# folder, and the game reaching its start dialog under a private Xvfb.
#
#   install_prefix.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$1
source=$2
timeout=${E2E_TIMEOUT:-20}
# Canonical, so that resolved link targets compare with it.
tmp=$(readlink -f "$(mktemp -d "${TMPDIR:-/tmp}/qw-install.XXXXXX")")
prefix=$tmp/prefix
elsewhere=$tmp/elsewhere
mkdir -p "$elsewhere"
game_pid=""
xvfb_pid=""

stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

cleanup() {
    local status=$?
    stop "$game_pid"
    stop "$xvfb_pid"
    if [ "$status" -eq 0 ]; then
        rm -rf "$tmp"
    else
        [ -f "$tmp/game.log" ] && tail -n 20 "$tmp/game.log" >&2
        echo "(kept for inspection: $tmp)" >&2
    fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "# $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

step "install into a temporary prefix"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "cmake --install failed"

step "launchers lead to both programs in one program folder"
[ -L "$prefix/bin/quaderwelt" ] || fail "bin/quaderwelt is not a link"
program_dir=$(dirname "$(readlink -f "$prefix/bin/quaderwelt")")
for program in quaderwelt quaderwelt-world; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program does not lead to a program"
    [ "$(readlink -f "$prefix/bin/$program")" = "$program_dir/$program" ] ||
        fail "bin/$program does not lead into $program_dir"
done

step "the program folder holds every data file as shipped"
shipped=0
for file in "$source"/data/*; do
    [ -f "$file" ] || continue
    name=$(basename "$file")
    cmp -s "$file" "$program_dir/$name" || fail "$name is missing or differs in the program folder"
    shipped=$((shipped + 1))
done
[ "$shipped" -gt 0 ] || fail "no data files found in $source/data"

step "every link stays inside the prefix, so the package can be moved"
while IFS= read -r -d '' link; do
    target=$(readlink -f "$link") || fail "$link cannot be resolved"
    [ -e "$target" ] || fail "$link is dangling"
    case "$target" in "$prefix"/*) ;; *) fail "$link leaves the prefix: $target" ;; esac
done < <(find "$prefix" -type l -print0)

step "menu entry, icons and AppStream data"
mapfile -t entries < <(find "$prefix/share/applications" -name '*.desktop')
[ "${#entries[@]}" -eq 1 ] || fail "expected one desktop entry, found ${#entries[@]}"
desktop=${entries[0]}
if have desktop-file-validate; then
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
else
    echo "# (desktop-file-validate not installed; skipped)"
fi
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in bin/"
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
icons=0
for icon in "$prefix"/share/icons/hicolor/*/apps/"$icon_name".png; do
    [ -f "$icon" ] || fail "no icon named $icon_name in the hicolor theme"
    size=$(basename "$(dirname "$(dirname "$icon")")")
    [ "$(identify -format '%wx%h' "$icon")" = "$size" ] || fail "$icon is not $size"
    icons=$((icons + 1))
done
[ "$icons" -ge 4 ] || fail "only $icons icon sizes installed"
mapfile -t entries < <(find "$prefix/share/metainfo" -name '*.metainfo.xml')
[ "${#entries[@]}" -eq 1 ] || fail "expected one AppStream file, found ${#entries[@]}"
metainfo=${entries[0]}
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
    fail "the AppStream data does not launch $(basename "$desktop")"
if have appstreamcli; then
    appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" || {
        cat "$tmp/appstream.log" >&2
        fail "AppStream data does not validate"
    }
else
    echo "# (appstreamcli not installed; skipped)"
fi

step "manual pages for both programs render without warnings"
for page in man6/quaderwelt.6.gz man6/quaderwelt-world.6.gz; do
    [ -f "$prefix/share/man/$page" ] || fail "no manual page $page"
    if have man; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$page: $warnings"
    fi
done

step "the tool generates and describes a world from another folder"
world=$elsewhere/Insel.lev
(cd "$elsewhere" && "$prefix/bin/quaderwelt-world" generate --seed 7 Insel.lev) || fail "generate failed"
info=$(cd / && "$prefix/bin/quaderwelt-world" info "$world") || fail "info failed"
grep -qx "variant: compressed" <<<"$info" || fail "info: no compressed variant in: $info"
grep -Eq "^cells 1: [1-9][0-9]*$" <<<"$info" || fail "info: the world has no grass: $info"
"$prefix/bin/quaderwelt-world" --help | grep -q "^Usage: quaderwelt-world" || fail "--help prints no usage"

step "the game shows its start dialog when started through the launcher"
fifo=$tmp/displayfd
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t "$timeout" display_number <"$fifo" || fail "Xvfb did not start"
export DISPLAY=":$display_number"
export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/.local/share XDG_CONFIG_HOME=$tmp/home/.config
export XDG_RUNTIME_DIR=$tmp/runtime NO_AT_BRIDGE=1 SDL_AUDIODRIVER=dummy LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
(cd "$elsewhere" && exec "$prefix/bin/quaderwelt") >"$tmp/game.log" 2>&1 &
game_pid=$!
# A data file the game cannot load raises an error box during start-up, and
# the dialog appears only after it, so the dialog alone shows a good start.
timeout "$timeout" xdotool search --sync --onlyvisible --name '^Korland Quaderwelt 1\.0$' >/dev/null ||
    fail "the start dialog did not appear"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
[ "$(readlink "/proc/$game_pid/exe")" = "$program_dir/quaderwelt" ] ||
    fail "the game does not run from its program folder"
for caption in Quaderwelt Fehler; do
    if xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1; then
        fail "a message box '$caption' is open"
    fi
done
echo "# done: $shipped data files, $icons icon sizes"
