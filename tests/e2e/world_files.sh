#!/bin/bash
# The world list of the start dialog: only regular .lev files are listed,
# renaming never loses or replaces a world, deleting asks first.
source "$(dirname "$0")/lib.sh"
e2e_setup

mkdir -p "$DATA_DIR"
head -c 5000 /dev/urandom >"$DATA_DIR/Alpha.lev"
alpha_sum=$(md5sum <"$DATA_DIR/Alpha.lev")
mkfifo "$DATA_DIR/Pipe.lev"
mkdir "$DATA_DIR/Ordner.lev"
echo note >"$DATA_DIR/notes.txt"

e2e_start_app
dialog=$(e2e_wait_dialog)
e2e_screenshot world-list >/dev/null

e2e_log "confirming the proposed name keeps the world as it is"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_screenshot rename-dialog >/dev/null
e2e_keys "$rename" Return
e2e_wait_window_gone "Welt umbenennen"
e2e_expect_no_window Fehler
[ "$(md5sum <"$DATA_DIR/Alpha.lev")" = "$alpha_sum" ] || e2e_fail "Alpha.lev changed"

e2e_log "a new name moves the file"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_type "$rename" "Gamma"
e2e_keys "$rename" Return
e2e_expect_no_window Fehler
[ ! -e "$DATA_DIR/Alpha.lev" ] || e2e_fail "Alpha.lev still there"
[ "$(md5sum <"$DATA_DIR/Gamma.lev")" = "$alpha_sum" ] || e2e_fail "Gamma.lev is not the renamed world"

e2e_log "renaming onto an existing world is refused and loses nothing"
echo other >"$DATA_DIR/Taken.lev"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_type "$rename" "Taken"
e2e_keys "$rename" Return
e2e_answer_box Fehler Return
e2e_expect_box_text Fehler "Die Welt konnte nicht umbenannt werden."
[ "$(md5sum <"$DATA_DIR/Gamma.lev")" = "$alpha_sum" ] || e2e_fail "Gamma.lev lost"
[ "$(cat "$DATA_DIR/Taken.lev")" = other ] || e2e_fail "Taken.lev replaced"

e2e_log "a name that would leave the folder is refused"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_type "$rename" "../Flucht"
e2e_keys "$rename" Return
e2e_answer_box Fehler Return
e2e_expect_box_text Fehler "Die Welt konnte nicht umbenannt werden."
[ "$(md5sum <"$DATA_DIR/Gamma.lev")" = "$alpha_sum" ] || e2e_fail "Gamma.lev lost"

e2e_log "closing the rename dialog changes nothing"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_type "$rename" "Delta"
e2e_request_close "$rename"
e2e_wait_window_gone "Welt umbenennen"
e2e_expect_no_window Fehler
[ -e "$DATA_DIR/Gamma.lev" ] && [ ! -e "$DATA_DIR/Delta.lev" ] || e2e_fail "closed rename dialog renamed"

e2e_log "delete: Nein and Abbrechen keep the world, Ja removes it"
e2e_press_delete "$dialog"
box=$(e2e_wait_window "Löschen")
e2e_screenshot delete-question >/dev/null
e2e_expect_box_text "Löschen" "Wollen Sie die Welt Gamma.lev wirklich löschen?"
e2e_keys "$box" alt+n   # "_Nein"
e2e_wait_window_gone "Löschen"
[ -e "$DATA_DIR/Gamma.lev" ] || e2e_fail "No deleted the world"
e2e_press_delete "$dialog"
e2e_answer_box "Löschen" Escape
[ -e "$DATA_DIR/Gamma.lev" ] || e2e_fail "Cancel deleted the world"
e2e_press_delete "$dialog"
e2e_answer_box "Löschen" alt+j   # "_Ja"
[ ! -e "$DATA_DIR/Gamma.lev" ] || e2e_fail "Yes kept the world"

e2e_log "the FIFO and the directory were never listed: nothing is left to select"
e2e_press_delete "$dialog"
e2e_answer_box Fehler Return
e2e_expect_box_text Fehler "Es ist keine Welt ausgewählt!"
[ -p "$DATA_DIR/Pipe.lev" ] && [ -d "$DATA_DIR/Ordner.lev" ] || e2e_fail "special files touched"

e2e_log "Beenden ends the program"
e2e_press_exit "$dialog"
e2e_wait_app_exit
