# The launcher menu: the host stand-in Quadrix.exe, put beside Quadlock.dll
# and Lockwatch.exe, which the installation placed in "Zelvar\Quadrix" below
# Program Files. A click on its tray icon pops up the menu
# with the motion-security item (screenshot), the pick starts Lockwatch.exe
# from that folder, which takes the readings from the manager stand-in and
# goes to lock the workstation (Wine cannot lock; see the previous part for
# the armed guard). Sourced by tools/tour.sh.
tour_say "Launcher menu: the Quadrix host shows the Lockwatch item and starts Lockwatch"
qx_dir="$WINEPREFIX/drive_c/Program Files/Zelvar/Quadrix"
mkdir -p "$qx_dir"
cp "$TOUR_BIN/Quadrix.exe" "$qx_dir/"
echo "installed: $(cd "$qx_dir" && ls | tr '\n' ' ')"
wine_run "$TOUR_TESTBIN/quadrix_tour.exe" 'C:\Program Files\Zelvar\Quadrix' "$(tour_winpath "$TOUR_OUT")" \
  </dev/null 2>/dev/null | tee "$TOUR_OUT/quadrix.log"
