#!/bin/bash
# On a desktop whose language is English, or the plain C locale, the toolkit's
# own dialogs speak German as the game does: the start dialog's browse
# buttons, the delete question and the skin file dialog. Their labels are
# read back from the widgets by the language tests; here the real program
# shows them (the screenshots are kept with E2E_ARTIFACTS) and they work.
source "$(dirname "$0")/lib.sh"
e2e_setup

# A real English locale, compiled into the test's own folder (as many
# desktops have it, this machine need not).
locales="$E2E_TMP/locale"
mkdir -p "$locales"
if localedef -i en_US -f UTF-8 "$locales/en_US.UTF-8" >/dev/null 2>&1; then
    export LOCPATH="$locales"
else
    e2e_log "no en_US.UTF-8 locale could be made; English runs in the C locale"
fi

mkdir -p "$DATA_DIR"
echo world >"$DATA_DIR/Alte Welt.lev"

for lang in en_US.UTF-8 C; do
    e2e_log "LANG=$lang"
    unset LC_ALL LC_MESSAGES LANGUAGE
    export LANG=$lang
    e2e_start_app
    dialog=$(e2e_wait_dialog)
    sleep 0.5
    e2e_screenshot "start-dialog-$lang" >/dev/null

    e2e_press_delete "$dialog"
    box=$(e2e_wait_window "Löschen")
    sleep 0.5
    e2e_screenshot "delete-question-$lang" >/dev/null
    e2e_keys "$box" Escape
    e2e_wait_window_gone "Löschen"
    [ -e "$DATA_DIR/Alte Welt.lev" ] || e2e_fail "cancelling the question deleted the world"

    # The browse button at the right end of the player's skin chooser.
    read -r _ _ width _ <<<"$(e2e_geometry "$dialog")"
    e2e_dialog_click "$dialog" $((width - 30)) 154
    chooser=$(e2e_wait_window "Minecraft Skin auswählen")
    sleep 1
    e2e_screenshot "skin-file-dialog-$lang" >/dev/null
    e2e_keys "$chooser" Escape
    e2e_wait_window_gone "Minecraft Skin auswählen"

    e2e_press_exit "$dialog"
    e2e_wait_app_exit
    [ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS under LANG=$lang"
done
