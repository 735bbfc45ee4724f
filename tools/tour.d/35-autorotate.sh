# Automatic screen rotation (opt-in, the page "Дополнительно"): the installed
# Joltrun samples the tilt twice a second while the setting is on and turns
# the screen when the computer is held upright for a second. The stand-in is
# turned through a scripted series; Wine's display cannot turn, so the turn
# ends in Joltrun's message. Sourced by tools/tour.sh.

if [ ! -x "$TOUR_TESTBIN/Rotatetour.exe" ]; then
  tour_say "Automatic rotation: skipped (Rotatetour.exe is not built)"
else
  tour_say "Automatic rotation: Joltrun with the setting on decides on a scripted upright turn"
  tour_manager_start
  wine_run "$TOUR_TESTBIN/Rotatetour.exe" "$(tour_winpath "$TOUR_APP/Joltrun.exe")" "$(tour_winpath "$TOUR_OUT")" \
    </dev/null 2>/dev/null | tee "$TOUR_OUT/autorotate.log"
  tour_demo_manager
fi
