/*
 * Joltrun's automatic screen rotation: while the opt-in setting is on, the
 * access library is bound and the tilt sampled twice a second; the
 * decision (jolt/autorotate.h) says when to turn the screen. With the
 * setting off nothing is loaded and no timer runs. The display calls go
 * through the system-call table.
 */
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"
#include "jolt/resource.h"
#include "common/gravbind.h"
#include "common/regread.h"
#include "common/display.h"
#include "common/trace.h"

/* The screen's orientation now; the default when it cannot be read. */
static DWORD ReadScreenOrientation(void)
{
    return OrientFromDisplay(ReadDisplayOrientation(g_JoltSystem.pfnEnumDisplaySettingsA));
}

void CJoltrunSub::ApplyAutoRotate(HWND hwnd)
{
    BOOL bWanted = m_bAutoRotate && !m_bRotateOff;

    if (bWanted && m_hGravmon == NULL)
        StartAutoRotate(hwnd);
    else if (!bWanted && m_hGravmon != NULL)
        StopAutoRotate(hwnd);
}

BOOL CJoltrunSub::StartAutoRotate(HWND hwnd)
{
    PFN_GETANGLE pfnGetAngle = NULL;
    const GRAVMONEXPORT aExports[] = {
        GRAVMON_BIND(GRAVMON_EXPORT_GETANGLE, pfnGetAngle),
    };
    HMODULE hGravmon = NULL;
    int nLoad = LoadGravmon(&hGravmon, aExports, ARRAYSIZE(aExports), REGREAD_CUT_FULL, NULL);

    if (nLoad != GRAVMON_LOAD_OK) {
        TRACE("LoadGravmon() Failed in CJoltrunSub::StartAutoRotate().\nReturn Value %d", nLoad);
        if (hGravmon != NULL)
            FreeLibrary(hGravmon);
        GiveUpAutoRotate(hwnd, IDS_JOLTRUN_ROTATENODATA);
        return FALSE;
    }
    if (!g_JoltSystem.pfnSetTimer(hwnd, JOLTRUN_ROTATE_TIMER, AUTOROTATE_PERIOD_MS, NULL)) {
        /* Tried again when the settings are next saved. */
        TRACE("SetTimer() Failed in CJoltrunSub::StartAutoRotate().\nReturn Value %d",
              (int)GetLastError());
        FreeLibrary(hGravmon);
        return FALSE;
    }
    m_hGravmon = hGravmon;
    m_DLGetAngle = pfnGetAngle;
    m_dwScreen = ReadScreenOrientation();
    AutoRotateReset(&m_Rotate);
    return TRUE;
}

void CJoltrunSub::StopAutoRotate(HWND hwnd)
{
    if (m_hGravmon == NULL)
        return;
    KillTimer(hwnd, JOLTRUN_ROTATE_TIMER);
    FreeLibrary(m_hGravmon);
    m_hGravmon = NULL;
    m_DLGetAngle = NULL;
}

/* Sampling stops for the rest of this run, before the box: its message
 * loop would go on dispatching the timer. */
void CJoltrunSub::GiveUpAutoRotate(HWND hwnd, UINT idText)
{
    StopAutoRotate(hwnd);
    m_bRotateOff = TRUE;
    ShowJoltError(hwnd, idText);
}

void CJoltrunSub::OnRotateTimer(HWND hwnd)
{
    float fX = 0.0f;
    float fY = 0.0f;
    LONG lResult;
    int nTurn;

    if (m_DLGetAngle == NULL) {
        KillTimer(hwnd, JOLTRUN_ROTATE_TIMER);
        return;
    }
    /* -5 while Feedrun (or anyone) holds the accelerometer: nothing turns. */
    lResult = m_DLGetAngle(&fX, &fY, hwnd);
    nTurn = AutoRotateSample(&m_Rotate, GetTickCount(), lResult == GRAVMON_OK, fX, fY, m_dwScreen);
    if (nTurn != AUTOROTATE_NONE)
        TurnScreen(hwnd, (DWORD)nTurn);
}

/* The current mode with the new orientation, width and height swapped
 * between landscape and portrait. Flags 0: the change holds until the next
 * change or restart, and nothing is written to the registry. */
BOOL CJoltrunSub::TurnScreen(HWND hwnd, DWORD dwOrientation)
{
    DEVMODEA dm;
    LONG lResult = DISP_CHANGE_FAILED;

    ZeroMemory(&dm, sizeof(dm));
    dm.dmSize = sizeof(dm);
    if (g_JoltSystem.pfnEnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm)) {
        if (OrientSwapsSize(dm.dmDisplayOrientation, dwOrientation)) {
            DWORD dwWidth = dm.dmPelsWidth;
            dm.dmPelsWidth = dm.dmPelsHeight;
            dm.dmPelsHeight = dwWidth;
        }
        dm.dmSize = sizeof(dm);
        dm.dmDriverExtra = 0;
        dm.dmDisplayOrientation = dwOrientation;
        dm.dmFields |= DM_DISPLAYORIENTATION | DM_PELSWIDTH | DM_PELSHEIGHT;
        lResult = g_JoltSystem.pfnChangeDisplaySettingsExA(NULL, &dm, NULL, 0, NULL);
    } else {
        TRACE("EnumDisplaySettings() Failed in CJoltrunSub::TurnScreen().\nGetLastError Report %lu",
              GetLastError());
    }
    if (lResult != DISP_CHANGE_SUCCESSFUL) {
        TRACE("ChangeDisplaySettingsEx() Failed in CJoltrunSub::TurnScreen().\nReturn Value %ld",
              lResult);
        GiveUpAutoRotate(hwnd, IDS_JOLTRUN_NOROTATE);
        return FALSE;
    }
    m_dwScreen = dwOrientation;
    return TRUE;
}

/* Turned by hand (or by us): the decision compares with what the screen is. */
void CJoltrunSub::OnDisplayChange(HWND hwnd)
{
    if (m_hGravmon != NULL)
        m_dwScreen = ReadScreenOrientation();
}
