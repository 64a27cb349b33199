#!/usr/bin/env bash
# Cross-builds the viewer for 64-bit Windows with Debian's MinGW-w64 and packs it as a zip.
# Installs MinGW-w64 and Wine from Debian; fetches the sources of zlib, libpng, freeglut and
# libjpeg-turbo with apt-get source, from deb-src entries derived from the machine's own apt
# sources (the same URIs and suites) and kept, with their package lists, in a private apt
# folder, so the machine's own lists stay as they were; cross-builds those static; cross-builds
# velkarin.exe, linked static too; and packs velkarin.exe, env.ppm, the README and the licence
# with CPack.
#
# Usage: tools/windows.sh [FOLDER]   (default: build-windows; the zip is FOLDER/viewer/*.zip)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/packages.sh"
velkarin_install_packages build-essential cmake dpkg-dev g++-mingw-w64-x86-64-posix \
  wine wine64 nlohmann-json3-dev
mkdir -p "${1:-$root/build-windows}"
folder=$(cd "${1:-$root/build-windows}" && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
prefix=$folder/prefix
apt=$folder/apt

# deb-src twins of the machine's deb entries, one-line and deb822 alike.
derive_source_entries() {
  rm -rf "$apt" && mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache"
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file"
  done >"$apt/sources.list.d/derived.list"
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt/sources.list.d/${file##*/}"
  done
  return 0
}

# Downloads and unpacks the sources of the release this machine runs, into $folder/src.
fetch_sources() {
  local private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d"
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache")
  local release
  release=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt-get "${private[@]}" update
  rm -rf "$folder/src" && mkdir -p "$folder/src"
  (cd "$folder/src" && apt-get "${private[@]}" source "zlib/$release" "libpng1.6/$release" \
    "freeglut/$release" "libjpeg-turbo/$release")
}

# cross_build NAME TARGET SOURCE [CMAKE OPTION...]: configures and builds TARGET (install:
# into $prefix).
cross_build() {
  local name=$1 target=$2 source=$3
  shift 3
  cmake -S "$source" -B "$folder/deps/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@"
  cmake --build "$folder/deps/$name" -j "$(nproc)" --target "$target"
}

derive_source_entries
fetch_sources
src=$folder/src
rm -rf "$prefix" "$folder/deps"
# Debian's zlib source leaves out zlib's Windows resource files, which only its DLL needs: the
# static library is built alone and put in place by hand.
cross_build zlib zlibstatic "$(echo "$src"/zlib-*/)"
mkdir -p "$prefix/lib" "$prefix/include"
cp "$folder/deps/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
cp "$src"/zlib-*/zlib.h "$folder/deps/zlib/zconf.h" "$prefix/include/"
cross_build libpng install "$(echo "$src"/libpng1.6-*/)" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
  -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
# libjpeg-turbo's plain C code: its SIMD parts need an assembler the cross tools lack.
cross_build libjpeg install "$(echo "$src"/libjpeg-turbo-*/)" -DENABLE_SHARED=OFF \
  -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
# nlohmann-json is headers alone: Debian's package serves as it is, its headers and CMake files
# copied into the prefix (its own /usr/include holds this machine's C headers, not Windows').
mkdir -p "$prefix/share/cmake"
cp -r /usr/include/nlohmann "$prefix/include/"
cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
cross_build freeglut install "$(echo "$src"/freeglut-*/)" -DFREEGLUT_BUILD_DEMOS=OFF \
  -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON

cmake -S "$root" -B "$folder/viewer" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_TESTING=OFF
cmake --build "$folder/viewer" -j "$(nproc)" --target velkarin
(cd "$folder/viewer" && cpack -G ZIP)
ls "$folder"/viewer/velkarin-*-windows-x86_64.zip
