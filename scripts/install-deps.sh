#!/usr/bin/env bash
# Installs what Vendrel needs to build, run and test on Debian 12.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  libcurl4-openssl-dev libssl-dev
  libgtest-dev libbenchmark-dev
  python3 python3-pyftpdlib python3-openssl
  vsftpd openssl passwd
  dbus-daemon
  qtkeychain-qt6-dev libsecret-1-0 gnome-keyring
  clang libclang-rt-14-dev
  curl
  # The install test's validators, and what cpack needs to compute the package's dependencies.
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"

# The tests start their own vsftpd on 127.0.0.1; the package's system-wide
# server, listening on every interface, is not wanted on a developer's machine.
if [[ " ${missing[*]} " == *" vsftpd "* ]] && [ -d /run/systemd/system ]; then
  $sudo systemctl disable --now vsftpd || true
fi
