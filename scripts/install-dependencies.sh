#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Quorvex needs, skipping those that
# are already there. Runs apt-get as root, through sudo when needed.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev libgl-dev libqt6svg6
    libsodium-dev libdbus-1-dev libbenchmark-dev
    dbus xvfb xauth fonts-dejavu-core at-spi2-core python3-pyatspi
    librsvg2-bin desktop-file-utils appstream
    gcovr
    dpkg-dev file lintian
)
if [ "${1:-}" = "--with-peers" ]; then
    packages+=(pwgen hyperfine)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
