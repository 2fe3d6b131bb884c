#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing.
set -euo pipefail
packages=(cmake make g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev libgtest-dev
          libgmock-dev libbenchmark-dev fonts-noto-cjk fonts-dejavu-core
          qt6-translations-l10n poppler-utils python3 valgrind python3-vobject libmecab-dev
          mecab-ipadic-utf8)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
