#!/bin/sh
# Installs every Debian package the game, its tools and its tests need.
# Idempotent: only missing packages are installed, with one apt-get update.
set -e
PACKAGES="build-essential cmake pkg-config
libsdl1.2-dev libsdl-mixer1.2-dev libglew-dev libdevil-dev libtinyxml-dev libboost-dev libutfcpp-dev
libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev
libfreetype-dev fonts-dejavu-core libvorbis-dev
libgtest-dev libgmock-dev libbenchmark-dev
libxtst-dev xvfb xauth x11-utils"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != 0 ]; then
    echo "These packages are missing:$missing" >&2
    echo "Run this script as root to install them." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends $missing
