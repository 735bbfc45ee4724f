/*
 * The tour's look at automatic screen rotation: the installed Joltrun.exe
 * with the setting on, the running manager stand-in turned through a
 * scripted series of postures, and what a user meets. Wine's display
 * cannot turn, so the turn ends in Joltrun's message, after which the
 * setting rests until Joltrun starts again. On a display that does turn,
 * the screen is put back to its own orientation at the end.
 *   Rotatetour.exe JOLTRUN.EXE SCREENSHOT-FOLDER
 */
#include <stdio.h>
#include "testbench/testbench.h"
#include "testbench/capture.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include "jolt/joltstore.h"

static DWORD ScreenOrientation(void)
{
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    return EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm) ? dm.dmDisplayOrientation : 0;
}

static void Tilt(const char *pszCommand)
{
    if (tb::ManagerCommand(NULL, pszCommand) != 1)
        tb::Say("  the manager stand-in refused \"%s\"", pszCommand);
}

/* Waits up to dwMs for Joltrun's message; tells it, saves it, closes it. */
static bool Refusal(const tb::Process &joltrun, DWORD dwMs, const std::string &shots)
{
    tb::MessageBoxInfo box = tb::WaitMessageBox(joltrun.Pid(), dwMs);
    if (!box.found())
        return false;
    tb::Say("  Joltrun says: \"%s\" - \"%s\"", tb::Utf8(box.caption).c_str(), tb::Utf8(box.text).c_str());
    std::string shot = tb::SaveScreenshot(box.hwnd, shots, "autorotate-refused");
    if (!shot.empty())
        tb::Say("  screenshot: %s", shot.c_str());
    tb::CloseMessageBox(box);
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: Rotatetour JOLTRUN.EXE SCREENSHOT-FOLDER\n");
        return 2;
    }
    DWORD dwOwn = ScreenOrientation();
    tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, 1);
    Tilt("tilt 0 0");
    tb::Process joltrun;
    if (!joltrun.Start(argv[1]) ||
        !tb::WaitWindow(JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME, 15000, joltrun.Pid())) {
        tb::Say("Joltrun.exe did not start");
        return 1;
    }
    tb::Say("Joltrun.exe runs with \"%s\" = 1: it samples the tilt twice a second", JOLT_VAL_AUTOROTATE);

    tb::Say("Lying flat, then held upright in landscape as the screen already is: nothing to do");
    tb::Pump(1500);
    Tilt("tilt 0 80 500");
    tb::Pump(2000);

    tb::Say("A trembling hand near portrait: 62 and 44 degrees in turn, never a whole second past 45");
    for (int i = 0; i < 6; i++) {
        Tilt(i % 2 ? "tilt 44 5" : "tilt 62 5");
        tb::Pump(500);
    }
    bool bEarly = tb::CountMessageBoxes(joltrun.Pid()) > 0;
    tb::Say("  %s", bEarly ? "Joltrun acted (unexpected)" : "no turn");

    tb::Say("Turned slowly from landscape onto the panel's right edge (3 s) and held there");
    Tilt("tilt 0 80");
    tb::Pump(600);
    DWORD dwStart = GetTickCount();
    Tilt("tilt 80 0 3000");
    tb::Say("  the posture counts from about 2.3 s (past 60 degrees, the other angle within 30)");
    if (Refusal(joltrun, 10000, argv[2])) {
        tb::Say("  the turn to portrait was asked for %.1f s after the turn began; Wine's display refused it",
                (GetTickCount() - dwStart) / 1000.0);
    } else if (ScreenOrientation() != dwOwn) {
        tb::Say("  the screen turned to orientation %lu after %.1f s", ScreenOrientation(),
                (GetTickCount() - dwStart) / 1000.0);
    } else {
        tb::Say("  nothing happened (unexpected)");
    }

    tb::Say("Onto the other edge: after a refusal nothing is tried until Joltrun starts again");
    Tilt("tilt -80 0 800");
    tb::Pump(2500);
    tb::Say("  %s", tb::CountMessageBoxes(joltrun.Pid()) ? "another message (unexpected)" : "no message");
    DWORD dw = 0;
    tb::RegGetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, &dw);
    tb::Say("  the stored setting is still %lu: a refusal writes nothing", dw);

    PostMessageA(tb::WaitWindow(JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME, 1000, joltrun.Pid()),
                 WM_CLOSE, 0, 0);
    joltrun.Wait(5000);
    Tilt("tilt 0 0");
    tb::RegDeleteVal(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE);
    if (ScreenOrientation() != dwOwn) {
        DEVMODEA dm = {};
        dm.dmSize = sizeof(dm);
        EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm);
        if ((dm.dmDisplayOrientation & 1) != (dwOwn & 1)) {
            DWORD dwWidth = dm.dmPelsWidth;
            dm.dmPelsWidth = dm.dmPelsHeight;
            dm.dmPelsHeight = dwWidth;
        }
        dm.dmDisplayOrientation = dwOwn;
        ChangeDisplaySettingsExA(NULL, &dm, NULL, 0, NULL);
        tb::Say("the screen is back in its own orientation");
    }
    return 0;
}
