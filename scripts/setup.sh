#!/usr/bin/env bash
# Installs what building, running and testing need, on Debian, when it is missing. With
# --sanitize also clang and its sanitizer and fuzzer runtimes, for scripts/sanitize.sh; with
# --package what scripts/package.sh and scripts/check-package.sh need; with --windows what
# scripts/build-windows.sh and scripts/test-windows.sh need: the cross compiler, the installer
# builder, GoogleTest's sources, Wine and a virtual display for the installed program.
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
    libxxhash-dev           # checksums of the change journals (header only)
    libkissfft-dev          # the FFT of the envelope among the processing steps
    fonts-dejavu-core       # Cyrillic text on a bare machine
)
for option in "$@"; do
    case "$option" in
    --sanitize)
        packages+=(
            clang               # AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer builds
            libclang-rt-dev     # their runtimes
        ) ;;
    --package)
        packages+=(
            dpkg-dev            # dpkg-shlibdeps: the package's dependencies from what it links
            file                # CPack tells the programs among the files by it
            desktop-file-utils  # the check of the menu entry
            appstream           # the check of the software-centre description
            shared-mime-info    # the check of the file type
        ) ;;
    --windows)
        packages+=(
            g++-mingw-w64-x86-64-posix  # the Windows cross compiler
            googletest                  # GoogleTest's sources, built with it
            xz-utils                    # unpacks the packed Qt for Windows
            dpkg-dev                    # unpacks the source packages of the Windows libraries
            libxxhash-dev               # its header, copied for the Windows build
            libsegyio-dev               # segyio's header, for the Windows build's SEG-Y export
            nsis                        # the installer
            zip                         # the portable package
            wine64                      # runs the Windows programs
            xvfb openbox xdotool        # a display, a window manager and keys for the installed program
            imagemagick                 # its screenshot and the check that it shows something
        ) ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
    esac
done

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
