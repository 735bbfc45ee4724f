# Дополнительно: the fourth page of the console holds the opt-in guards and
# comforts (all off as installed): Jolt's quiet time after typing, a Tiltfeed
# item's dead zone and "level is how I hold it", Lockwatch's movement
# threshold and held alarm. The page is shown, then one item's comfort at
# work in Feedrun.exe. Sourced by tools/tour.sh.

ex_dir=$TOUR_OUT/extras
rm -rf "$ex_dir" && mkdir -p "$ex_dir"
ex_log=$ex_dir/feedtarget.log
ex_key='HKCU\Software\Zelvar\Tiltkit\Tiltfeed\Tiltfeed + Comfort'
ex_lines() { [ -f "$ex_log" ] && wc -l < "$ex_log" | tr -d ' ' || echo 0; }
ex_presses_since() { tail -n +"$(( $1 + 1 ))" "$ex_log" | tr -d '\r' | awk '$2 == "key" && $3 == "down" { k[$4 == "0x27" ? "Right" : $4 == "0x25" ? "Left" : $4]++ }
  END { n = 0; for (x in k) { printf "  %s pressed %d times\n", x, k[x]; n++ } if (!n) print "  no key pressed" }'; }

tour_say "Дополнительно: an item with a 5 degree dead zone and \"level is how I hold it\", shown on the fourth page"
tour_reg add "$ex_key" /v FileName /d Feedtarget.exe /f
tour_reg add "$ex_key" /v Path /d "$TOUR_WINBIN\\Feedtarget.exe" /f
tour_reg add "$ex_key" /v Type /t REG_DWORD /d 1 /f
tour_reg add "$ex_key" /v Mouse_Rate /t REG_DWORD /d 100 /f
tour_reg add "$ex_key" /v CursorKey_Rate /t REG_DWORD /d 10 /f
tour_reg add "$ex_key" /v ExtraDeadZone /t REG_DWORD /d 5 /f
tour_reg add "$ex_key" /v ExtraLevelAtFront /t REG_DWORD /d 1 /f
if ! wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property\0040' >/dev/null 2>&1; then
  wine_run "$TOUR_BIN/Tkinstall.exe" "$TOUR_WINBIN" 'Property\0040' </dev/null >/dev/null 2>&1
fi
# The page key on the command line opens the sheet at this page.
wine_run "$TOUR_BIN/Tiltdesk.exe" 0040 </dev/null >/dev/null 2>&1 &
ex_desk_pid=$!
if wine_run "$TOUR_BIN/Deskctl.exe" wait 15000; then
  sleep 1
  tour_shot extras-page
  wine_run "$TOUR_BIN/Deskctl.exe" close
else
  echo "the console did not show its sheet"
  tour_shot extras-page-failed
fi
for _ in $(seq 1 50); do kill -0 "$ex_desk_pid" 2>/dev/null || break; sleep 0.1; done
kill "$ex_desk_pid" 2>/dev/null
wait "$ex_desk_pid" 2>/dev/null

tour_say "Дополнительно: held at 30 degrees when the application comes to the front (3 presses a tick without the setting)"
tour_manager_start
tour_manager tilt 30 0 >/dev/null
FEEDTARGET_LOG=$(tour_winpath "$ex_log") FEEDTARGET_EXIT=4500 \
  wine_run "$TOUR_BIN/Feedrun.exe" Tiltfeed + Comfort </dev/null >/dev/null 2>&1 &
ex_pid=$!
for _ in $(seq 1 100); do grep -q '^[0-9]* cwd' "$ex_log" 2>/dev/null && break; sleep 0.1; done
sleep 0.5
n=$(ex_lines); sleep 0.8
echo "in 0.8 s at 30 degrees:"; ex_presses_since "$n"

tour_say "Дополнительно: 4 degrees further lies inside the dead zone; 15 degrees further presses Right"
n=$(ex_lines)
tour_manager tilt 34 0 >/dev/null
sleep 0.8
echo "in 0.8 s at 34 degrees:"; ex_presses_since "$n"
n=$(ex_lines)
tour_manager tilt 45 0 >/dev/null
sleep 0.55
tour_manager tilt 30 0 >/dev/null
sleep 0.2
echo "in half a second at 45 degrees:"; ex_presses_since "$n"
wait "$ex_pid" 2>/dev/null

tour_demo_manager
