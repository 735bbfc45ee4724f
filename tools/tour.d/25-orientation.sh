# A turned screen: Feedrun turns the tilt into the screen's frame, so the
# keys go the way the user sees the screen. Wine's display cannot be turned,
# so the runtime here is Feedturn.exe (the test tree's bin): Feedrun's own code, told
# the orientation through its display query; the tilt, the access library,
# the keys and the application are real. Sourced by tools/tour.sh.

or_key='HKCU\Software\Zelvar\Tiltkit\Tiltfeed\Tiltfeed + Turned'
or_lines() { [ -f "$or_log" ] && wc -l < "$or_log" | tr -d ' ' || echo 0; }
or_presses_since() { tail -n +"$(( $1 + 1 ))" "$or_log" | tr -d '\r' | awk '$2 == "key" && $3 == "down" {
    k[$4 == "0x25" ? "Left" : $4 == "0x26" ? "Up" : $4 == "0x27" ? "Right" : $4 == "0x28" ? "Down" : $4]++ }
  END { n = 0; for (x in k) { printf "  %s pressed %d times\n", x, k[x]; n++ } if (!n) print "  no key pressed" }'; }
or_tilt() { # angles, what
  local n; n=$(or_lines)
  tour_manager tilt "$1" "$2" >/dev/null
  sleep 0.45
  tour_manager tilt 0 0 >/dev/null
  sleep 0.2
  echo "tilt X $1, Y $2 ($3):"; or_presses_since "$n"
}

if [ ! -x "$TOUR_TESTBIN/Feedturn.exe" ]; then
  tour_say "Turned screen: skipped (Feedturn.exe is not built)"
else
  or_dir=$TOUR_OUT/orientation
  rm -rf "$or_dir" && mkdir -p "$or_dir"
  or_log=$or_dir/feedtarget.log
  tour_manager_start
  tour_manager tilt 0 0 >/dev/null
  tour_reg add "$or_key" /v FileName /d Feedtarget.exe /f
  tour_reg add "$or_key" /v Path /d "$TOUR_WINBIN\\Feedtarget.exe" /f
  tour_reg add "$or_key" /v Type /t REG_DWORD /d 1 /f
  tour_reg add "$or_key" /v Mouse_Rate /t REG_DWORD /d 100 /f
  tour_reg add "$or_key" /v CursorKey_Rate /t REG_DWORD /d 10 /f
  # DMDO_90: portrait, the panel's left edge on top and its right edge at the bottom.
  tour_reg add 'HKCU\Software\Zelvar\Tiltkit\Testbench' /v ScreenOrientation /t REG_DWORD /d 1 /f

  tour_say "Turned screen: portrait (DMDO_90, the panel's left edge on top), cursor keys at rate 10"
  FEEDTARGET_LOG=$(tour_winpath "$or_log") FEEDTARGET_EXIT=7000 \
    wine_run "$TOUR_TESTBIN/Feedturn.exe" Tiltfeed + Turned </dev/null >/dev/null 2>&1 &
  or_pid=$!
  for _ in $(seq 1 100); do grep -q '^[0-9]* cwd' "$or_log" 2>/dev/null && break; sleep 0.1; done
  sleep 0.5
  or_tilt 30 0 "the panel's right edge down: the screen's bottom"
  or_tilt 0 -30 "the panel's top edge down: the screen's right"
  or_tilt -20 20 "the panel's left and bottom edges down: the screen's top and left"
  echo "(on an unturned screen the first would press Right, the second Up)"
  wait "$or_pid" 2>/dev/null
  tour_reg delete 'HKCU\Software\Zelvar\Tiltkit\Testbench' /f
  tour_reg delete "$or_key" /f
  tour_demo_manager
fi
