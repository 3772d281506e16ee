#!/usr/bin/env bash
# Installs the Debian packages the project needs, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache
  qt6-base-dev qt6-tools-dev libqt6sql6-sqlite fonts-dejavu-core
  libsqlite3-dev libcurl4-openssl-dev
  p7zip-full python3-pyftpdlib
  libgtest-dev libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
