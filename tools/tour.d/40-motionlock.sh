# Motion security: Lockwatch locks the workstation and guards it. Wine cannot
# lock, so Lockwatch.exe itself stops at the lock with its message; then its
# own code runs with the lock simulated and prints each alarm output as the
# manager stand-in moves the computer (settings through the Hwgate stand-in).
tour_say "Motion security: Lockwatch guards the locked computer against being moved"
tour_reg delete 'HKLM\Software\Zelvar\HwgateStandin' /f
# A still computer: only the "move" below changes the readings.
tour_manager_start
wine_run "$TOUR_TESTBIN/motionlock_tour.exe" </dev/null 2>/dev/null | tee "$TOUR_OUT/motionlock.log"
tour_demo_manager
