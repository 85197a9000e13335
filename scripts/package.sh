#!/usr/bin/env bash
# Builds the Debian package of the desktop program and the batch tool into
# build/trelvanox_<version>_<architecture>.deb; install it with
#   sudo apt install ./build/trelvanox_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/scripts/setup.sh" --package
"$root/scripts/build.sh" trelvanox trelvanox-cli
(cd "$build" && cpack -G DEB)
ls "$build"/trelvanox_*.deb
