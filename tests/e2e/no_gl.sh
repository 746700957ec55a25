#!/bin/bash
# On a display without OpenGL the program says so and ends, instead of
# showing a dialog whose game window could never work.
E2E_XVFB_ARGS="-extension GLX"
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_start_app
box=$(e2e_wait_window "Quaderwelt")
e2e_screenshot no-gl-error >/dev/null
[ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 0 ] || e2e_fail "the start dialog showed without GL"
e2e_keys "$box" Return
e2e_wait_app_exit
[ "$APP_STATUS" -ne 0 ] || e2e_fail "ended as if all went well"
