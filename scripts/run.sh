#!/usr/bin/env bash
# Sets up, builds and starts the desktop program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" trelvanox
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<MSG
Trelvanox is a desktop program and this session has no display (neither DISPLAY nor
WAYLAND_DISPLAY is set). Start it from a graphical session, or on a virtual display:
    xvfb-run $root/build/trelvanox      (xvfb-run comes with the Debian package xvfb)
The batch tool works without a display: $root/build/src/cli/trelvanox-cli --help
MSG
    exit 1
fi
exec "$root/build/trelvanox"
