#!/usr/bin/env bash
# Installing the Debian/Ubuntu packages a command needs. Source it, or run it with the packages.

velkarin_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

velkarin_available() { apt-cache show "$1" >/dev/null 2>&1; }

# velkarin_install_packages PACKAGE... [-- OPTIONAL...]: installs the packages that are not
# installed yet, and those of the optional ones that the archive has, after apt-get update.
# Nothing is done when all are there.
velkarin_install_packages() {
  local missing=() optional=() package seen_separator=0
  for package in "$@"; do
    if [ "$package" = -- ]; then
      seen_separator=1
    elif [ $seen_separator = 1 ]; then
      optional+=("$package")
    else
      velkarin_installed "$package" || missing+=("$package")
    fi
  done
  local wanted_optional=()
  for package in "${optional[@]}"; do
    velkarin_installed "$package" || ! velkarin_available "$package" || wanted_optional+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && [ ${#wanted_optional[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "velkarin: please install the equivalents of: ${missing[*]}" >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update
  # A fresh package list may know optional packages the old one did not.
  for package in "${optional[@]}"; do
    velkarin_installed "$package" || ! velkarin_available "$package" || missing+=("$package")
  done
  echo "velkarin: installing ${missing[*]}" >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
}

# Run as itself, it installs what it is given: tools/packages.sh PACKAGE... [-- OPTIONAL...]
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  velkarin_install_packages "$@"
fi
