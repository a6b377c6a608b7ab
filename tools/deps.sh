#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the installer.
# Does nothing when they are all present already.
set -euo pipefail
packages=(build-essential cmake pkg-config libgtk2.0-dev zlib1g-dev libisal-dev libedit-dev libgtest-dev
          xvfb xauth openbox xdotool imagemagick x11-utils python3 locales
          fiu-utils libfiu-dev  # random I/O faults in real runs (tests/e2e/faults.sh)
          clang libclang-rt-14-dev)  # the fuzz harnesses: libFuzzer and its sanitizers
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
