#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root).
# A second run finds everything in place and returns at once.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in cmake make python3 git mingw-w64 g++-mingw-w64-i686 wine wine32:i386 xvfb x11-utils \
         clang libclang-rt-14-dev googletest imagemagick; do
  have "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "setup: installing ${need[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
