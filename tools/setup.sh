#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root).
# A second run finds everything in place and returns at once.
set -euo pipefail

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
updated=""
install() { # packages...
  local need=() p
  for p in "$@"; do have "$p" || need+=("$p"); done
  [ ${#need[@]} -eq 0 ] && return 0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  echo "setup: installing ${need[*]}"
  # A mirror in the middle of a sync fails one index now and then: the
  # update is not fatal by itself, and a failed installation is tried once
  # more after a fresh update.
  if [ -z "$updated" ]; then
    $SUDO apt-get update -q || echo "setup: apt-get update reported an error; going on" >&2
    updated=1
  fi
  if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"; then
    sleep 20
    $SUDO apt-get update -q || true
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
  fi
}

# The sanitizer and fuzzer runtime of the clang that is installed: its major
# version, or the one the clang package would bring.
clang_rt_package() {
  local v
  v=$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9][0-9]*\)\..*/\1/p' | head -n 1)
  if [ -z "$v" ]; then
    v=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)
  fi
  [ -n "$v" ] && echo "libclang-rt-$v-dev"
}

install cmake make python3 git mingw-w64 g++-mingw-w64-i686 wine wine32:i386 wine64 g++-mingw-w64-x86-64 xvfb x11-utils xdotool \
        clang googletest imagemagick nsis fp-utils
rt=$(clang_rt_package) || { echo "setup: cannot tell the version of clang" >&2; exit 1; }
install "$rt"

# Wine maps file names to the host through the host's locale: without
# ru_RU.UTF-8 a Cyrillic file name (a copied Tiltfeed shortcut) cannot be made.
install locales
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
  $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
