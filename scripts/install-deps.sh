#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache
  libsdl2-dev libimgui-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho
  libjpeg62-turbo-dev libvorbis-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev
  libstb-dev libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpixman-1-dev nlohmann-json3-dev
  clang libclang-rt-14-dev llvm
  espeak-ng
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
