# Gravmon: the access library is the suite's only path to the sensor. Gravpeek
# loads Gravmon.dll by the registered path, like every program of the suite,
# and prints what the exports return while the demo scenario tilts the
# "computer"; then the manager is made to stop serving and to lose its zero
# base, and the result codes show it. Sourced by tools/tour.sh.

gravmon_peek() { wine_run "$TOUR_BIN/Gravpeek.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }

tour_say "Gravmon: registered path of the library"
wine_run reg query 'HKLM\Software\Zelvar\Tiltkit\Gravmon' /v PATH 2>/dev/null | tr -d '\r' | grep PATH \
  || echo "(no PATH registered)"

tour_say "Gravmon: live readings while the scenario tilts (8 readings, 400 ms apart)"
gravmon_peek 8 400

tour_say "Gravmon: the manager is told to tilt 45 degrees right and 20 forward"
tour_manager tilt 45 20
gravmon_peek 1
tour_shot 10-gravmon

tour_say "Gravmon: the manager stops serving - every call reports it (-1, access refused)"
tour_manager serve 0
gravmon_peek 1
tour_manager serve 1

tour_say "Gravmon: the zero base is marked not valid - angles and acceleration give -7, raw readings still come"
tour_manager invalid
gravmon_peek 1
tour_manager valid

tour_say "Gravmon: served again"
gravmon_peek 2 300
