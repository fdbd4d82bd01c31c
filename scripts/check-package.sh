#!/usr/bin/env bash
# Installs a TESK package with apt as a user would, runs `tesk --version`, removes the
# package again and checks that none of its files or folders is left behind.
#
#   bash scripts/check-package.sh build-package/tesk_VERSION_ARCH.deb
set -euo pipefail

package=$(realpath "$1")
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if dpkg-query -W -f='${Status}' tesk 2>/dev/null | grep -q "install ok installed"; then
    echo "tesk is installed already; remove it before checking a package" >&2
    exit 1
fi

"${sudo_cmd[@]}" apt-get install -y -qq "$package" >/dev/null
installed=$(dpkg -L tesk)
version=$(tesk --version)
"${sudo_cmd[@]}" apt-get remove -y -qq tesk >/dev/null

expected="TESK $(dpkg-deb --field "$package" Version)"
if [ "$version" != "$expected" ]; then
    echo "tesk --version printed \"$version\", not \"$expected\"" >&2
    exit 1
fi
left=()
while read -r path; do
    [ "$path" = /. ] || [ ! -e "$path" ] && continue
    # A folder that other packages own too (/usr/share/applications, ...) stays.
    [ -d "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1 && continue
    left+=("$path")
done <<<"$installed"
if [ ${#left[@]} -gt 0 ]; then
    printf 'Left behind after removing tesk: %s\n' "${left[@]}" >&2
    exit 1
fi
echo "Installed, ran \"$version\" and removed $(grep -c . <<<"$installed") paths without a trace."
