#!/usr/bin/env bash
# Shared first half of tools/run.sh and tools/test.sh: installs the Debian/Ubuntu packages that
# are missing, then configures and builds. Source it; it sets VELKARIN_ROOT and VELKARIN_BUILD.
# With VELKARIN_VIEWER_ONLY=1 it installs and builds the viewer alone, in its own folder.
set -euo pipefail

VELKARIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
viewer_only=${VELKARIN_VIEWER_ONLY:-0}
if [ "$viewer_only" = 1 ]; then
  VELKARIN_BUILD=${VELKARIN_BUILD:-$VELKARIN_ROOT/build-viewer}
else
  VELKARIN_BUILD=${VELKARIN_BUILD:-$VELKARIN_ROOT/build}
fi

# What the viewer needs, and what its tests, screenshots and package checks add.
velkarin_viewer_packages=(
  build-essential cmake pkg-config
  libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri libpng-dev
)
velkarin_test_packages=(
  libgtest-dev libbenchmark-dev
  libx11-dev libxtst-dev libxres-dev xvfb xauth
  clang valgrind imagemagick mandoc desktop-file-utils lintian dpkg-dev
)
# Where the archive has it separately, clang's fuzzing and sanitizer runtime.
velkarin_optional_packages=(libclang-rt-dev)

velkarin_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

velkarin_available() { apt-cache show "$1" >/dev/null 2>&1; }

velkarin_install_missing() {
  local missing=() optional=() package wanted=("${velkarin_viewer_packages[@]}")
  if [ "$viewer_only" != 1 ]; then
    wanted+=("${velkarin_test_packages[@]}")
  else
    velkarin_optional_packages=()
  fi
  for package in "${wanted[@]}"; do
    velkarin_installed "$package" || missing+=("$package")
  done
  for package in "${velkarin_optional_packages[@]}"; do
    velkarin_installed "$package" || ! velkarin_available "$package" || optional+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && [ ${#optional[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "velkarin: please install the equivalents of: ${missing[*]}" >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update
  # A fresh package list may know optional packages the old one did not.
  for package in "${velkarin_optional_packages[@]}"; do
    velkarin_installed "$package" || ! velkarin_available "$package" || missing+=("$package")
  done
  echo "velkarin: installing ${missing[*]}" >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
}

velkarin_install_missing
if [ "$viewer_only" = 1 ]; then
  cmake -S "$VELKARIN_ROOT" -B "$VELKARIN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
  cmake --build "$VELKARIN_BUILD" -j "$(nproc)" --target velkarin
else
  cmake -S "$VELKARIN_ROOT" -B "$VELKARIN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$VELKARIN_BUILD" -j "$(nproc)"
fi
