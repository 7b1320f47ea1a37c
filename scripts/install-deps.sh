#!/bin/sh
# Installs the Debian packages the game, its tests and its tools need.
# Every package any part of the build uses is listed here, once, so a
# fresh Debian 12 machine needs nothing else. Packages already present
# are left alone, so this is quick when there is nothing to do.
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libepoxy-dev libglm-dev libimgui-dev libstb-dev
  libfontconfig-dev fontconfig fonts-dejavu-core
  libgl1-mesa-dri libegl-mesa0 libosmesa6
  libgtest-dev libgmock-dev libbenchmark-dev libbox2d-dev
  rapidjson-dev nlohmann-json3-dev
  sox libsox-fmt-all librsvg2-bin
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "error: packages missing ($missing) and no root rights to install them" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
