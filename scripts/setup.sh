#!/usr/bin/env bash
# Installs what building, running and testing need, on Debian, when it is missing. With
# --sanitize also clang and its sanitizer and fuzzer runtimes, for scripts/sanitize.sh.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    python3                 # the layer check among the tests
    qt6-base-dev            # Widgets, PrintSupport, Test; pulls in the GL and Vulkan headers
    qt6-translations-l10n   # Qt's own dialogs in Russian
    libgtest-dev            # core tests
    libbenchmark-dev        # bench/
    libsegyio-dev           # SEG-Y export
    libpng-dev              # the batch tool's render pictures
    fonts-dejavu-core       # Cyrillic text on a bare machine
)
if [ "${1:-}" = "--sanitize" ]; then
    packages+=(
        clang               # AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer builds
        libclang-rt-dev     # their runtimes
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
