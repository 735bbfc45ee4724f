# The Tiltfeed page: the console opens on it (the installation registers it
# first), an application is added through its dialog, and the shortcut the
# page wrote starts it under Feedrun through Wine's own shell. Feedtarget.exe
# logs the keys it then receives. Sourced by tools/tour.sh.

fc_pilot() { wine_run "$TOUR_TESTBIN/Feedpilot.exe" "$@"; }

if [ ! -x "$TOUR_TESTBIN/Feedpilot.exe" ] || [ ! -f "$TOUR_BIN/Feedcfg.dll" ]; then
  tour_say "Tiltfeed page: skipped (Feedcfg.dll or Feedpilot.exe is not built)"
else
  fc_dir=$TOUR_OUT/feedcfg
  rm -rf "$fc_dir" && mkdir -p "$fc_dir"
  fc_log=$fc_dir/feedtarget.log
  tour_reg delete 'HKCU\Software\Zelvar\Tiltkit\Tiltfeed' /f
  tour_manager_start
  tour_manager tilt 0 0 >/dev/null

  tour_say "Tiltfeed page: the console opens on it; no application is registered yet"
  wine_run "$TOUR_BIN/Tiltdesk.exe" </dev/null >/dev/null 2>&1 &
  fc_desk_pid=$!
  fc_pilot list
  tour_shot feedcfg_page_empty

  tour_say "Tiltfeed page: Add, the name \"Feedtarget\", cursor-key mode, the path of Feedtarget.exe"
  fc_pilot fill Feedtarget "$TOUR_WINBIN\\Feedtarget.exe" keys
  tour_shot feedcfg_dialog
  tour_say "Tiltfeed page: OK saves the item \"Tiltfeed + Feedtarget\" and writes its shortcut"
  fc_pilot ok
  tour_shot feedcfg_page
  fc_folder=$(fc_pilot folder | tr -d '\r')
  echo "shortcut: $fc_folder\\Tiltfeed + Feedtarget.lnk"
  echo "item values: $(wine_run reg query 'HKCU\Software\Zelvar\Tiltkit\Tiltfeed\Tiltfeed + Feedtarget' 2>/dev/null |
    tr -d '\r' | awk '/REG_/ { printf "%s=%s ", $1, $3 }')"
  wine_run "$TOUR_BIN/Deskctl.exe" close >/dev/null 2>&1
  for _ in $(seq 1 50); do kill -0 "$fc_desk_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$fc_desk_pid" 2>/dev/null
  wait "$fc_desk_pid" 2>/dev/null

  tour_say "Tiltfeed: the shortcut started as a user starts it (Wine's start); tilted left, Left keys arrive"
  FEEDTARGET_LOG=$(tour_winpath "$fc_log") FEEDTARGET_EXIT=4000 \
    wine_run start "$fc_folder\\Tiltfeed + Feedtarget.lnk" </dev/null >/dev/null 2>&1
  for _ in $(seq 1 100); do grep -q '^[0-9]* cwd' "$fc_log" 2>/dev/null && break; sleep 0.1; done
  sleep 0.5
  echo "Feedtarget.exe runs, started by Feedrun.exe in its own folder: $(grep ' cwd ' "$fc_log" 2>/dev/null | tr -d '\r' | cut -d' ' -f3-)"
  echo "monopoly of the accelerometer held by Feedrun's hidden window: $(tour_manager get monopoly | tr -d '\r' | sed 's/.*: //')"
  tour_manager tilt -30 0 >/dev/null
  sleep 0.35
  tour_manager tilt 0 0 >/dev/null
  tour_shot feedcfg_served
  sleep 0.2
  echo "  $(tr -d '\r' < "$fc_log" 2>/dev/null | awk '$2 == "key" && $3 == "down" { n[$4]++ }
    END { for (k in n) printf "%s pressed %d times; ", (k == "0x25" ? "Left" : k), n[k] }')"
  for _ in $(seq 1 60); do tour_manager get monopoly 2>/dev/null | grep -q ': 0' && break; sleep 0.1; done
  tour_demo_manager
fi
