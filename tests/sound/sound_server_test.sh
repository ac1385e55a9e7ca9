#!/usr/bin/env bash
# The sound layer through a real sound server: the splash screen's first driver must reach it, and
# the five samples must arrive at its sink in order, each within 50 ms of being asked for.
# Arguments: the probe (sound_server_probe), the ready folder. Skipped (77) only when no PulseAudio
# server is installed.
set -euo pipefail
probe=$1 dist=$2
source "$(dirname "$0")/../support/sound_server.sh"
command -v pulseaudio >/dev/null && command -v pactl >/dev/null || { echo "no PulseAudio"; exit 77; }
work=$(mktemp -d)
trap 'sound_server_stop; rm -rf "$work"' EXIT
sound_server_start "$work" || { cat "$work/pulse.log"; echo "FAIL: the sound server did not start"; exit 1; }
cd "$dist"
timeout 120 "$probe" 1
