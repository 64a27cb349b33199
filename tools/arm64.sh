#!/usr/bin/env bash
# Cross-builds the viewer for 64-bit ARM Linux (Debian's arm64, as 64-bit Raspberry Pi OS is)
# with Debian's aarch64-linux-gnu cross compiler and packs it as an arm64 .deb through the same
# packaging rules as the amd64 one. The arm64 libraries come from the machine's own archive
# through multiarch (the architecture is added to dpkg where missing); qemu's user-mode
# emulator comes too, to run the result here.
#
# Usage: tools/arm64.sh [FOLDER]   (default: build-arm64; the package is FOLDER/velkarin_*_arm64.deb)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/packages.sh"
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" dpkg --add-architecture arm64
fi
velkarin_install_packages build-essential cmake dpkg-dev g++-aarch64-linux-gnu qemu-user \
  libgl-dev:arm64 libglu1-mesa-dev:arm64 freeglut3-dev:arm64 libpng-dev:arm64 \
  libjpeg-dev:arm64 libicu-dev:arm64 libx11-dev:arm64 libgl1-mesa-dri:arm64 nlohmann-json3-dev
mkdir -p "${1:-$root/build-arm64}"
folder=$(cd "${1:-$root/build-arm64}" && pwd)

cmake -S "$root" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build "$folder" -j "$(nproc)" --target velkarin velkarin_docs
# dpkg-shlibdeps reads the arm64 executable with the cross toolchain's tools when told the
# package's architecture.
(cd "$folder" && DEB_HOST_ARCH=arm64 cpack -G DEB)
ls "$folder"/velkarin_*_arm64.deb
