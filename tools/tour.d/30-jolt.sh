# Jolt: the hidden runtime turns the manager's quick-tilt notifications into
# actions. Here a forward tilt runs a small program of ours (Joltmark.exe,
# which logs each start) and a sideways tilt does nothing; after every action
# the runtime rests for the idle time. Sourced by tools/tour.sh.

jolt_runs() { [ -f "$jolt_dir/joltmark.log" ] && wc -l < "$jolt_dir/joltmark.log" | tr -d ' ' || echo 0; }
jolt_wait_runs() { # count
  for _ in $(seq 1 50); do [ "$(jolt_runs)" -ge "$1" ] && return 0; sleep 0.1; done
  return 1
}

jolt_dir=$TOUR_OUT/jolt
rm -rf "$jolt_dir" && mkdir -p "$jolt_dir"
cp "$TOUR_BIN/Joltmark.exe" "$jolt_dir/Joltmark.exe"

tour_say "Jolt: the installed defaults, then forward/backward = run Joltmark.exe, left/right = nothing"
# The installation started Joltrun with the installed defaults; it is closed
# while the tour changes them.
wine_run "$TOUR_BIN/Joltmark.exe" /close </dev/null >/dev/null 2>&1 && sleep 1
tour_reg add 'HKLM\Software\Zelvar\Tiltkit\Jolt' /v JoltSetting /t REG_BINARY /d 03000000000000000000000000000000 /f
tour_reg add 'HKLM\Software\Zelvar\Tiltkit\Jolt' /v VerticalLaunchPath /d "$(tour_winpath "$jolt_dir/Joltmark.exe")" /f
tour_reg add 'HKLM\Software\Zelvar\Tiltkit\Jolt' /v IdleTime /t REG_DWORD /d 1500 /f
# A new user: the runtime copies the machine's values at its start.
tour_reg delete 'HKCU\Software\Zelvar\Tiltkit\Jolt' /f

wine_run "$TOUR_APP/Joltrun.exe" </dev/null >/dev/null 2>&1 &
jolt_pid=$!
sleep 2
echo "Joltrun.exe runs hidden (window \"TiltkitJolt\", no taskbar button)"

tour_say "Jolt: a quick tilt forward (gesture 0x0100)"
before=$(jolt_runs)
tour_manager gesture 0x0100 >/dev/null
if jolt_wait_runs $((before + 1)); then
  echo "Joltmark.exe started (its log: $(tail -n 1 "$jolt_dir/joltmark.log" | tr -d '\r'))"
else
  echo "Joltmark.exe did not start"
fi

tour_say "Jolt: two more tilts at once fall into the 1.5 s idle period and are ignored"
before=$(jolt_runs)
tour_manager gesture 0x0100 >/dev/null
tour_manager gesture 0x0300 >/dev/null
sleep 0.8
echo "starts during the idle period: $(( $(jolt_runs) - before ))"

tour_say "Jolt: after the idle period a tilt backward (0x0300) runs it again; a sideways tilt (0x0200) does nothing"
sleep 1
before=$(jolt_runs)
tour_manager gesture 0x0200 >/dev/null
sleep 0.3
tour_manager gesture 0x0300 >/dev/null
jolt_wait_runs $((before + 1)) && echo "Joltmark.exe started again: $(tail -n 1 "$jolt_dir/joltmark.log" | tr -d '\r')"
echo "all starts:"; tr -d '\r' < "$jolt_dir/joltmark.log" | sed 's/^/  /'

# The runtime is not left running for the later parts of the tour.
wine_run "$TOUR_BIN/Joltmark.exe" /close </dev/null >/dev/null 2>&1
wait "$jolt_pid" 2>/dev/null
echo "Joltrun.exe closed"
