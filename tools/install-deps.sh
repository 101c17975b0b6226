#!/usr/bin/env bash
# Installs what building, running and testing huaben needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev libxkbcommon-dev
    libgtest-dev
    libjpeg62-turbo-dev
    fonts-noto-cjk qt6-translations-l10n
    clang-format
    poppler-utils  # the print tests render the printed PDF page
    # The desktop tests: the program under a private X server, driven by real keys and clicks,
    # seen through screenshots and the accessibility tree; the menu entry, metainfo and package.
    xvfb xdotool imagemagick python3-pil qt6-qpa-plugins
    python3-pyatspi at-spi2-core dbus-x11
    appstream desktop-file-utils lintian dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
# The RTF writer is checked against LibreOffice's reading of what it writes; only Writer's
# command-line converter is needed, without what LibreOffice merely recommends.
if ! command -v soffice >/dev/null; then
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        libreoffice-writer-nogui
fi
