# Uninstallation: the uninstaller (written by TiltkitSetup.exe) lets
# Provisio.dll close the manager and Joltrun, delete every user's Tiltfeed
# shortcuts, the machine-wide values and the launcher-menu files; then it
# removes the files and its own entry. The users' settings stay, and so does
# the launcher folder while the host stand-in of the launcher-menu part still
# lies in it (only Lockwatch.exe and Quadlock.dll go). Sourced by
# tools/tour.sh; the next tour installs the suite again.

setup_quadrix=$(dirname "$TOUR_APP")/Quadrix
setup_state() {
  echo "  machine values:  $(wine_run reg query 'HKLM\Software\Zelvar\Tiltkit' /s 2>/dev/null | tr -d '\r' | grep -c REG_) under HKLM\\Software\\Zelvar\\Tiltkit"
  echo "  user values:     $(wine_run reg query 'HKCU\Software\Zelvar\Tiltkit' /s 2>/dev/null | tr -d '\r' | grep -c REG_) under HKCU\\Software\\Zelvar\\Tiltkit"
  echo "  uninstall entry: $(wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tiltkit' /v DisplayVersion 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')"
  echo "  program files:   $( [ -d "$TOUR_APP" ] && (cd "$TOUR_APP" && ls | tr '\n' ' ') )"
  echo "  launcher menu:   $( [ -d "$setup_quadrix" ] && (cd "$setup_quadrix" && ls | tr '\n' ' ') )"
  echo "  manager running: $(tour_manager get active >/dev/null 2>&1 && echo yes || echo no)"
}

tour_say "Uninstallation: the state before"
# Joltrun as after a logon, so that the uninstallation has it to close.
wine_run "$TOUR_APP/Joltrun.exe" </dev/null >/dev/null 2>&1 &
sleep 1
setup_state
tour_say "Uninstallation: Uninstall.exe /S"
wine_run "$TOUR_APP/Uninstall.exe" /S </dev/null >/dev/null 2>&1
# The uninstaller runs a copy of itself from the temporary folder.
for _ in $(seq 1 100); do
  wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tiltkit' >/dev/null 2>&1 || break
  sleep 0.2
done
sleep 0.5
setup_state
[ -n "${manager_pid:-}" ] && wait "$manager_pid" 2>/dev/null
manager_pid=""
