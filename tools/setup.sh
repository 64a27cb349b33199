#!/usr/bin/env bash
# Shared first half of tools/run.sh and tools/test.sh: installs the Debian/Ubuntu packages that
# are missing, then configures and builds. Source it; it sets VELKARIN_ROOT and VELKARIN_BUILD.
set -euo pipefail

VELKARIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELKARIN_BUILD=${VELKARIN_BUILD:-$VELKARIN_ROOT/build}

velkarin_packages=(
  build-essential cmake pkg-config
  libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev
  libx11-dev libxtst-dev xvfb xauth
)

velkarin_install_missing() {
  local missing=() package
  for package in "${velkarin_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "velkarin: please install the equivalents of: ${missing[*]}" >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "velkarin: installing ${missing[*]}" >&2
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
}

velkarin_install_missing
cmake -S "$VELKARIN_ROOT" -B "$VELKARIN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$VELKARIN_BUILD" -j "$(nproc)"
