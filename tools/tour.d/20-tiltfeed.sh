# Tiltfeed: Feedrun.exe serves one application while it is in front, turning
# the tilt of the computer into cursor keys (or mouse moves) every 100 ms.
# The application here is Feedtarget.exe, which logs every key and move it
# receives. Sourced by tools/tour.sh.
#
# The demo scenario keeps tilting the stand-in; for this part it runs
# without it, so each tilt below is exactly the one named, and the demo
# stand-in is started again afterwards.

# Key events of the log since line $1, one line per tick (events closer than 30 ms).
tf_keys_since() {
  tail -n +"$(( $1 + 1 ))" "$tf_log" | tr -d '\r' | awk '
    $2 == "key" && $3 == "down" {
      k = $4 == "0x25" ? "Left" : $4 == "0x26" ? "Up" : $4 == "0x27" ? "Right" : $4 == "0x28" ? "Down" : $4
      if (last != "" && $1 - last > 300000) { print "  tick: " line; line = "" }
      line = line (line == "" ? "" : " ") k; last = $1; n++
    }
    END { if (line != "") print "  tick: " line; print "  (" n + 0 " key presses, each followed by its release)" }' | tail -n 6
}
tf_lines() { [ -f "$tf_log" ] && wc -l < "$tf_log" | tr -d ' ' || echo 0; }
tf_item() { # type
  local key='HKCU\Software\Zelvar\Tiltkit\Tiltfeed\Tiltfeed + Feedtarget'
  tour_reg add "$key" /v FileName /d Feedtarget.exe /f
  tour_reg add "$key" /v Path /d "$TOUR_WINBIN\\Feedtarget.exe" /f
  tour_reg add "$key" /v Type /t REG_DWORD /d "$1" /f
  tour_reg add "$key" /v Mouse_Rate /t REG_DWORD /d 100 /f
  tour_reg add "$key" /v CursorKey_Rate /t REG_DWORD /d 10 /f
}
tf_serve() { # target lifetime in ms
  # Started as its shortcut does: the item name, unquoted, is the whole tail.
  FEEDTARGET_LOG=$(tour_winpath "$tf_log") FEEDTARGET_EXIT=$1 \
    wine_run "$TOUR_APP/Feedrun.exe" Tiltfeed + Feedtarget </dev/null >/dev/null 2>&1 &
  tf_pid=$!
  for _ in $(seq 1 100); do grep -q '^[0-9]* cwd' "$tf_log" 2>/dev/null && break; sleep 0.1; done
  sleep 0.5
}

tf_dir=$TOUR_OUT/tiltfeed
rm -rf "$tf_dir" && mkdir -p "$tf_dir"
tf_log=$tf_dir/feedtarget.log
tour_manager_start

tour_say "Tiltfeed: the item \"Tiltfeed + Feedtarget\" in cursor-key mode (rate 10), started through Feedrun.exe"
tour_manager tilt 0 0 >/dev/null
tf_item 1
tf_serve 6500
echo "Feedtarget.exe runs in front, started by Feedrun.exe in its own folder: $(grep ' cwd ' "$tf_log" | tr -d '\r' | cut -d' ' -f3-)"
echo "monopoly of the accelerometer held by Feedrun's hidden window: $(tour_manager get monopoly | tr -d "\r" | sed "s/.*: //")"
n=$(tf_lines); sleep 0.5
echo "level: $(( $(tf_lines) - n )) events in half a second"

tour_say "Tiltfeed: tilted 30 degrees left and 45 degrees towards the user: bursts of Left and Down every 100 ms"
n=$(tf_lines)
tour_manager tilt -30 45 >/dev/null
sleep 0.35
tour_manager tilt 0 0 >/dev/null
tour_shot tiltfeed
sleep 0.2
tf_keys_since "$n"

tour_say "Tiltfeed: a small tilt of 8 degrees stays below 90/10 = 9 degrees and sends nothing; 20 degrees right sends Right twice per tick"
n=$(tf_lines)
tour_manager tilt 8 0 >/dev/null
sleep 0.4
tour_manager tilt 20 0 >/dev/null
sleep 0.35
tour_manager tilt 0 0 >/dev/null
sleep 0.2
tf_keys_since "$n"

tour_say "Tiltfeed: the application ends, so does Feedrun.exe, and the monopoly is free again"
wait "$tf_pid" 2>/dev/null
echo "Feedrun.exe ended; monopoly now: $(tour_manager get monopoly | tr -d "\r" | sed "s/.*: //")"

tour_say "Tiltfeed: the same item in mouse mode (rate 100): 4.5 degrees right and up moves the pointer 5 pixels per tick"
tf_item 0
n=$(tf_lines)
tf_serve 2500
tour_manager tilt 4.5 -4.5 >/dev/null
sleep 0.45
tour_manager tilt 0 0 >/dev/null
sleep 0.25
tail -n +"$(( n + 1 ))" "$tf_log" | tr -d '\r' | awk '$2 == "raw" && $3 == "mouse" { m[$4 " " $5]++ }
  END { for (d in m) printf "  move (%s): %d times\n", d, m[d] }' | sort
echo "  (level still sends a zero-length move every tick)"
wait "$tf_pid" 2>/dev/null

tour_demo_manager
