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
  libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri libpng-dev libjpeg-dev libicu-dev
  nlohmann-json3-dev
)
velkarin_test_packages=(
  libgtest-dev libbenchmark-dev
  libx11-dev libxtst-dev libxres-dev xvfb xauth
  clang valgrind imagemagick mandoc desktop-file-utils lintian dpkg-dev openbox x11-utils
  mesa-vulkan-drivers libglib2.0-bin
)
# Where the archive has it separately, clang's fuzzing and sanitizer runtime.
velkarin_optional_packages=(libclang-rt-dev)

source "$VELKARIN_ROOT/tools/packages.sh"
velkarin_wanted=("${velkarin_viewer_packages[@]}")
if [ "$viewer_only" != 1 ]; then
  velkarin_wanted+=("${velkarin_test_packages[@]}" -- "${velkarin_optional_packages[@]}")
fi
velkarin_install_packages "${velkarin_wanted[@]}"
if [ "$viewer_only" = 1 ]; then
  cmake -S "$VELKARIN_ROOT" -B "$VELKARIN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
  # The viewer, what installing it takes (the manual page and changelog) and the two map
  # makers the README shows, nothing more.
  cmake --build "$VELKARIN_BUILD" -j "$(nproc)" \
    --target velkarin velkarin_docs velkarin_make_matcaps velkarin_make_env_map
else
  cmake -S "$VELKARIN_ROOT" -B "$VELKARIN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$VELKARIN_BUILD" -j "$(nproc)"
fi
