/*
 * Feedturn.exe: Feedrun's own code, started like Feedrun, except that the
 * screen's orientation it asks for comes from the test registry (see
 * testbench/tiltfeed_target.h): Wine's display driver cannot turn the
 * screen. The rest of the display settings are the real ones, and so is
 * everything else: the access library, the manager, the input sent.
 */
#include <windows.h>
#include "testbench/testbench.h"
#include "testbench/tiltfeed_target.h"
#include "tiltfeed/feedsys.h"

static BOOL WINAPI TurnedEnumDisplaySettings(LPCSTR pszDevice, DWORD iModeNum, DEVMODEA *pdm)
{
    DWORD dwOrientation = DMDO_DEFAULT;

    if (!EnumDisplaySettingsA(pszDevice, iModeNum, pdm))
        return FALSE;
    if (iModeNum == ENUM_CURRENT_SETTINGS &&
        tb::RegGetDword(HKEY_CURRENT_USER, tb::kTurnedScreenKey, tb::kTurnedScreenValue, &dwOrientation)) {
        if ((dwOrientation & 1) != (pdm->dmDisplayOrientation & 1)) {
            DWORD dwWidth = pdm->dmPelsWidth;
            pdm->dmPelsWidth = pdm->dmPelsHeight;
            pdm->dmPelsHeight = dwWidth;
        }
        pdm->dmDisplayOrientation = dwOrientation;
        pdm->dmFields |= DM_DISPLAYORIENTATION;
    }
    return TRUE;
}

int main()
{
    g_FeedSystem.pfnEnumDisplaySettingsA = TurnedEnumDisplaySettings;
    return WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_HIDE);
}
