#!/usr/bin/env bash
# Runs a command with PipeWire (through pipewire-pulse) as the sound server
# instead of PulseAudio, so that the sound-server tests meet both.
#   scripts/with-pipewire.sh COMMAND [ARGS...]
set -uo pipefail
. "$(dirname "$0")/services.sh"
trap services_stop_all EXIT
trap 'exit 130' INT TERM
services_start_pipewire || exit 1
"$@"
