#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing TESK need, if any is missing
# (dpkg-dev and file for the test that makes the Debian package).
# Further packages given as arguments are installed along with them.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgtest-dev
          libcanberra-dev libxcb1-dev desktop-file-utils dbus qtkeychain-qt6-dev dpkg-dev
          file "$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
