# Calibration: the console opened on the accelerometer manager's page, a
# three-position calibration with the computer held still in each position,
# and the zero base that the manager adopts. Sourced by tools/tour.sh.
#
# The demo scenario keeps tilting the stand-in, which no calibration would
# survive; for this part the stand-in runs without it (raw readings fixed per
# position) and the demo stand-in is started again afterwards.

cal_pilot() { wine_run "$TOUR_TESTBIN/Calpilot.exe" "$@"; }

if [ ! -x "$TOUR_TESTBIN/Calpilot.exe" ]; then
  tour_say "Calibration: skipped (the test tree with Calpilot.exe is not built)"
else
  # The installation registers the page plug-ins; without it, register Gravcal here.
  cal_key=$(wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Property' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { k = $0 } /DLLFileName/ && tolower($0) ~ /gravcal\.dll/ { sub(/.*\\/, "", k); print k; exit }')
  if [ -z "$cal_key" ]; then
    cal_key=0030
    tour_reg add "HKLM\\Software\\Zelvar\\Tiltkit\\Property\\$cal_key" /v Name /d "Gravcal" /f
    tour_reg add "HKLM\\Software\\Zelvar\\Tiltkit\\Property\\$cal_key" /v DLLFileName /d "$TOUR_WINBIN\\Gravcal.dll" /f
  fi

  tour_say "Calibration: the stand-in holds still; its zero base is marked not valid"
  tour_manager_start
  tour_manager invalid

  tour_say "Calibration: the console opens on the calibration page (Tiltdesk.exe $cal_key)"
  wine_run "$TOUR_APP/Tiltdesk.exe" "$cal_key" </dev/null >/dev/null 2>&1 &
  cal_desk_pid=$!
  cal_pilot status | head -n 2
  tour_shot calibration_page

  tour_say "Calibration: the wizard starts"
  cal_pilot start | head -n 1
  cal_n=0
  for cal_raw in "520 505" "630 505" "520 400"; do
    cal_n=$((cal_n + 1))
    case $cal_n in
      1) cal_where="on its stand" ;;
      2) cal_where="tipped onto its side" ;;
      3) cal_where="tipped forward" ;;
    esac
    tour_say "Calibration: position $cal_n, $cal_where (raw readings $cal_raw), ten seconds of measuring"
    tour_manager raw $cal_raw
    cal_pilot measure | head -n 1
    tour_shot "calibration_wizard_$cal_n"
    [ $cal_n -lt 3 ] && cal_pilot next
  done

  tour_say "Calibration: Finish hands the zero base to the manager"
  cal_pilot finish && echo "wizard closed"
  sleep 0.5
  for cal_field in zb0 zb1 zb2 zb3 valid adopted; do tour_manager get $cal_field; done
  cal_pilot status | head -n 1
  tour_shot calibration_done
  cal_pilot close
  wait "$cal_desk_pid" 2>/dev/null

  tour_say "Calibration: the demo stand-in takes over again"
  tour_demo_manager
fi
