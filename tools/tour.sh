#!/usr/bin/env bash
# The main job: the suite under Wine with the accelerometer manager stand-in.
# Headless by default (its own Xvfb); with DISPLAY set, the windows show on
# that display and the stand-in shows its own small window.
# Logs and screenshots land in build/tour/out.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh" || exit 1
. "$root/tools/winenv.sh"
bash "$root/tools/build.sh" || exit 1

# The suite and the tour's programs, of the build this Wine runs.
TOUR_BIN=$BUILD_DIR/win$TILTKIT_TREE_SUFFIX/bin TOUR_TESTBIN=$BUILD_DIR/tests$TILTKIT_TREE_SUFFIX/bin
wine_arch_say tour
TOUR_OUT=$BUILD_DIR/tour/out
state=$BUILD_DIR/tour/wine-$TILTKIT_WINE_ARCH
mkdir -p "$TOUR_OUT"
manager_args="/hidden"
if [ -n "${DISPLAY:-}" ]; then
  export TILTKIT_DISPLAY=$DISPLAY
  manager_args=""
fi
mkdir -p "$state"
wine_slot_up "$state" 0 "$TOUR_BIN" || exit 1
TOUR_WINBIN=$TILTKIT_BIN
trap 'tour_end' EXIT

tour_say() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
tour_manager() { wine_run "$TOUR_BIN/Gravctl.exe" "$@"; }
tour_shot() { import -display "$DISPLAY" -window root "$TOUR_OUT/$1.png" 2>/dev/null && echo "screenshot: $TOUR_OUT/$1.png"; }
tour_reg() { wine_run reg "$@" >/dev/null 2>&1; }
tour_winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
# (Re)starts the manager stand-in with the given arguments: the demo scenario,
# or none for a still computer that only the fragment's commands move.
tour_manager_start() {
  if [ -n "${manager_pid:-}" ]; then
    tour_manager quit >/dev/null 2>&1
    wait "$manager_pid" 2>/dev/null
  fi
  wine_run "$TOUR_BIN/Gravmgr.exe" $manager_args "$@" /log "$(tour_winpath "$TOUR_OUT/gravmgr.log")" \
    </dev/null >/dev/null 2>&1 &
  manager_pid=$!
  for _ in $(seq 1 100); do tour_manager get active >/dev/null 2>&1 && break; sleep 0.1; done
}
tour_demo_manager() { tour_manager_start /scenario "$(tour_winpath "$root/standins/gravmgr/demo.scn")"; }
tour_end() {
  [ -n "${manager_pid:-}" ] && { tour_manager quit >/dev/null 2>&1; wait "$manager_pid" 2>/dev/null; }
  [ -z "${TILTKIT_DISPLAY:-}" ] && wine_all_down "$state"
  [ -n "${TILTKIT_DISPLAY:-}" ] && WINEPREFIX=$state/slot0/prefix "$WINESERVER" -k >/dev/null 2>&1
}

# A fresh user and machine registry, then the suite installed by its installer.
tour_reg delete 'HKCU\Software\Zelvar' /f
tour_reg delete 'HKLM\Software\Zelvar' /f
tour_say "Installation: TiltkitSetup.exe /S installs the suite ($(du -k "$TOUR_BIN/TiltkitSetup.exe" | cut -f1) KB)"
if ! wine_run "$TOUR_BIN/TiltkitSetup.exe" /S </dev/null >/dev/null 2>&1; then
  echo "TiltkitSetup.exe failed: the tour cannot go on"
  exit 1
fi
TOUR_APPWIN=$(wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tiltkit' /v InstallLocation 2>/dev/null |
  tr -d '\r' | sed -n 's/.*REG_SZ *//p')
TOUR_APP=$(wine_run winepath -u "$TOUR_APPWIN" 2>/dev/null | tr -d '\r')
TOUR_APP=${TOUR_APP%/}
echo "installed in $TOUR_APPWIN:" $(cd "$TOUR_APP" && ls)
echo "page plug-ins registered:" $(wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property' /s 2>/dev/null |
  tr -d '\r' | sed -n 's/.*DLLFileName *REG_SZ *.*\\//p')

tour_say "Accelerometer manager stand-in starts with the demo scenario"
tour_demo_manager

for fragment in "$root"/tools/tour.d/*.sh; do
  [ -e "$fragment" ] || continue
  # shellcheck source=/dev/null
  . "$fragment"
done
tour_say "Tour finished; logs and screenshots in $TOUR_OUT"
