# The Jolt page of the setting console: forward/backward first does nothing;
# on the console's Jolt page the user chooses "run a program" with our small
# program (Joltmark.exe, which logs each start), presses OK, and the running
# Joltrun performs the new action on the next quick tilt from the stand-in.
# Sourced by tools/tour.sh.

jp_pilot() { wine_run "$TOUR_TESTBIN/Joltpilot.exe" "$@"; }
jp_runs() { [ -f "$jp_dir/joltmark.log" ] && wc -l < "$jp_dir/joltmark.log" | tr -d ' ' || echo 0; }
jp_wait_runs() { # count
  for _ in $(seq 1 50); do [ "$(jp_runs)" -ge "$1" ] && return 0; sleep 0.1; done
  return 1
}

if [ ! -x "$TOUR_TESTBIN/Joltpilot.exe" ] || [ ! -f "$TOUR_BIN/Joltcfg.dll" ]; then
  tour_say "Jolt page: skipped (Joltcfg.dll or the test tree with Joltpilot.exe is not built)"
else
  # The installation registers the page; without it, register Joltcfg here.
  jp_key=$(wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { k = $0 } /DLLFileName/ && tolower($0) ~ /joltcfg\.dll/ { sub(/.*\\/, "", k); print k; exit }')
  if [ -z "$jp_key" ]; then
    jp_key=0020
    tour_reg add "HKLM\\Software\\Zelvar\\Tiltkit\\Property\\$jp_key" /v Name /d "Jolt" /f
    tour_reg add "HKLM\\Software\\Zelvar\\Tiltkit\\Property\\$jp_key" /v DLLFileName /d "$TOUR_WINBIN\\Joltcfg.dll" /f
  fi
  jp_dir=$TOUR_OUT/jolt-page
  rm -rf "$jp_dir" && mkdir -p "$jp_dir"
  cp "$TOUR_BIN/Joltmark.exe" "$jp_dir/Joltmark.exe"

  tour_say "Jolt page: the stand-in holds still; a new user whose forward/backward tilt does nothing"
  tour_manager_start
  # The installed Jolt defaults back by a reinstallation; the Joltrun it
  # starts is closed while the tour changes them.
  wine_run "$TOUR_BIN/TiltkitSetup.exe" /S </dev/null >/dev/null 2>&1
  wine_run "$TOUR_BIN/Joltmark.exe" /close </dev/null >/dev/null 2>&1 && sleep 1
  tour_reg add 'HKLM\Software\Zelvar\Tiltkit\Jolt' /v JoltSetting /t REG_BINARY /d 00000000000000000000000000000000 /f
  tour_reg add 'HKLM\Software\Zelvar\Tiltkit\Jolt' /v IdleTime /t REG_DWORD /d 500 /f
  tour_reg delete 'HKCU\Software\Zelvar\Tiltkit\Jolt' /f
  wine_run "$TOUR_APP/Joltrun.exe" </dev/null >/dev/null 2>&1 &
  jp_jolt_pid=$!
  sleep 2
  tour_manager gesture 0x0101 >/dev/null
  sleep 1
  echo "quick tilt forward: Joltmark.exe started $(jp_runs) times"

  tour_say "Jolt page: the console opens on it (Tiltdesk.exe $jp_key)"
  wine_run "$TOUR_APP/Tiltdesk.exe" "$jp_key" </dev/null >/dev/null 2>&1 &
  jp_desk_pid=$!
  jp_pilot show
  tour_shot jolt_page

  tour_say "Jolt page: forward/backward now runs Joltmark.exe; OK saves and tells Joltrun"
  jp_pilot action v 3
  jp_pilot program v "$(tour_winpath "$jp_dir/Joltmark.exe")"
  jp_pilot show
  tour_shot jolt_page_changed
  jp_pilot ok
  for _ in $(seq 1 50); do kill -0 "$jp_desk_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$jp_desk_pid" 2>/dev/null
  wait "$jp_desk_pid" 2>/dev/null
  wine_run reg query 'HKCU\Software\Zelvar\Tiltkit\Jolt' /v JoltSetting 2>/dev/null | tr -d '\r' | grep JoltSetting
  wine_run reg query 'HKCU\Software\Zelvar\Tiltkit\Jolt' /v VerticalLaunchPath 2>/dev/null | tr -d '\r' | grep LaunchPath

  tour_say "Jolt page: the next quick tilt forward (gesture 0x0101) reaches the running Joltrun"
  jp_before=$(jp_runs)
  tour_manager gesture 0x0101 >/dev/null
  if jp_wait_runs $((jp_before + 1)); then
    echo "Joltmark.exe started (its log: $(tail -n 1 "$jp_dir/joltmark.log" | tr -d '\r'))"
  else
    echo "Joltmark.exe did not start"
  fi

  wine_run "$TOUR_BIN/Joltmark.exe" /close </dev/null >/dev/null 2>&1
  wait "$jp_jolt_pid" 2>/dev/null
  echo "Joltrun.exe closed"
  tour_demo_manager
fi
