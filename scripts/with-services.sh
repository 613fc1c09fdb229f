#!/usr/bin/env bash
# Runs a command with the services the tests need: a private headless
# PulseAudio with a null sink "rec_sink", an Xvfb display (NUVASK_TEST_DISPLAY)
# with a notification area on it (trayer), a second one managed by openbox
# (NUVASK_TEST_WM_DISPLAY), and a headless Wayland compositor with XWayland
# (weston: NUVASK_TEST_WAYLAND_DISPLAY, NUVASK_TEST_XWAYLAND_DISPLAY).
#   scripts/with-services.sh COMMAND [ARGS...]
set -uo pipefail
. "$(dirname "$0")/services.sh"
trap services_stop_all EXIT
trap 'exit 130' INT TERM
services_start_pulse || exit 1
services_start_xvfb || exit 1
services_start_trayer || exit 1
services_start_openbox || exit 1
services_start_weston || exit 1
"$@"
