#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (the cross-compiling emulator).
#   winerun.sh [--arch win32|win64] --state DIR --bin DIR program.exe [args...]
# Each run takes a free slot: a Windows XP prefix (32-bit, or 64-bit for
# the x86-64 test build) copied once from a template, its own persistent
# wineserver and its own Xvfb display, so that
# two tests may run side by side (ctest -j2) without sharing named objects,
# registry or windows. The tests themselves reset the registry keys they use.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state="" bin=""
while [ $# -gt 0 ]; do
  case "$1" in
    --state) state=$2; shift 2 ;;
    --bin) bin=$2; shift 2 ;;
    --arch) export TILTKIT_WINE_ARCH=$2; shift 2 ;;
    *) break ;;
  esac
done
[ -n "$state" ] && [ -n "$bin" ] || { echo "usage: winerun.sh --state DIR --bin DIR program [args]" >&2; exit 2; }
mkdir -p "$state"
# shellcheck source=winenv.sh
. "$here/winenv.sh"

slot=""
for _ in $(seq 1 600); do
  for i in 0 1 2 3; do
    if mkdir "$state/slot$i.lock" 2>/dev/null; then
      echo $$ > "$state/slot$i.lock/pid"; slot=$i; break 2
    fi
    pid=$(cat "$state/slot$i.lock/pid" 2>/dev/null || true)
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
      rm -rf "$state/slot$i.lock"   # left by a run that died
    fi
  done
  sleep 0.1
done
[ -n "$slot" ] || { echo "winerun: no free Wine slot" >&2; exit 2; }
trap 'rm -rf "$state/slot$slot.lock"' EXIT

wine_slot_up "$state" "$slot" "$bin" || exit 2
# The program writes into a file, which is followed into ctest's pipe: a process that Wine
# starts on the program's behalf (the desktop process after it ended, a
# service) inherits the program's output handles and may live on with the
# slot, and ctest would wait for that pipe to close until its time-out.
out="$state/slot$slot.out"
: >"$out"
wine_run "$@" >"$out" 2>&1 &
wpid=$!
tail -n +1 -s 0.05 -f --pid="$wpid" "$out"
wait "$wpid"
rc=$?
rm -f "$out"
exit $rc
