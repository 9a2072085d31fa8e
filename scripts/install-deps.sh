#!/usr/bin/env bash
# Installs what building, testing and running VXL needs on a Debian machine. As root it uses
# apt-get; otherwise it only lists what is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config libsdl2-dev googletest libgtest-dev libbenchmark-dev
          libpng-dev libjpeg-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
          clang libclang-rt-14-dev libx11-dev xvfb xauth xdotool
          python3 python3-numpy python3-pytest python3-pip python3-setuptools)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (install them as root): ${missing[*]}" >&2
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
