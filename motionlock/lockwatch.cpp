/*
 * The motion-security runtime: start-up and binding, the session
 * registration, the lock, the check of every reading against the baseline,
 * the alarm, suspend and resume, and the end of the lock at unlock.
 */
#include "motionlock/lockwatch.h"
#include "motionlock/alarm.h"
#include "motionlock/alarmcalc.h"
#include "motionlock/lockplatform.h"
#include "motionlock/resource.h"
#include "common/bgprogram.h"
#include "common/errorbox.h"
#include "common/gravbind.h"
#include "common/regread.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include "motionlock/lockstore.h"
#include <stdarg.h>

LOCKWATCHSTATE g_Lockwatch;
PFN_GETACCELERATION g_DLGetAcceleration;
UINT g_nTimerInterval;

void ShowErrorMessage(HWND hwndOwner, UINT idText, ...)
{
    va_list args;

    va_start(args, idText);
    ShowErrorBoxV(g_Lockwatch.hInstance, IDS_LOCKWATCH_CAPTION, hwndOwner, idText,
                  MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

static HWND FindManagerWindow(void)
{
    return FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
}

/* ---- Start-up --------------------------------------------------------------- */

static BOOL IsWindowsXp(void)
{
    OSVERSIONINFOA version;

    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
        return FALSE;
    return version.dwMajorVersion == 5 && version.dwMinorVersion == 1 &&
           version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

BOOL InitLockwatch(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;
    const GRAVMONEXPORT aExports[] = {
        GRAVMON_BIND(GRAVMON_EXPORT_GETACCELERATION, g_DLGetAcceleration),
    };

    p->bBaselinePending = TRUE;
    p->bSessionApiReady = FALSE;
    p->bAlarmOn = FALSE;
    p->bCheckTimerStarted = FALSE;
    p->bRegistered = FALSE;
    p->hSessionLibrary = NULL;
    p->pfnRegisterSession = NULL;
    p->pfnUnregisterSession = NULL;
    p->hGravmon = NULL;
    ReadLockwatchOptions(&p->dwMoveThreshold, &p->bHoldAlarm);

    /* Without the export the library stays loaded until the process ends. */
    if (LoadGravmon(&p->hGravmon, aExports, ARRAYSIZE(aExports), REGREAD_CUT_FULL,
                    g_LockwatchPlatform.pfnGetProcAddress) != GRAVMON_LOAD_OK)
        return FALSE;

    g_nTimerInterval = LOCKWATCH_CHECK_PERIOD;
    TRACE("g_nTimerInterval = %d", g_nTimerInterval);

    if (!IsWindowsXp())
        return FALSE;

    p->bSessionApiReady = TRUE;
    p->hSessionLibrary = LoadLibraryA(LOCKWATCH_SESSION_DLL);
    if (p->hSessionLibrary != NULL) {
        p->pfnRegisterSession = (PFN_WTSREGISTERSESSIONNOTIFICATION)(void (*)(void))
            g_LockwatchPlatform.pfnGetProcAddress(p->hSessionLibrary,
                                                  "WTSRegisterSessionNotification");
        p->pfnUnregisterSession = (PFN_WTSUNREGISTERSESSIONNOTIFICATION)(void (*)(void))
            g_LockwatchPlatform.pfnGetProcAddress(p->hSessionLibrary,
                                                  "WTSUnRegisterSessionNotification");
    }
    /* Without session notifications the unlock would never be seen and the
     * lock never taken: give up now instead of waiting for nothing. */
    if (p->pfnRegisterSession == NULL) {
        TRACE("Session notifications not available in InitLockwatch.");
        return FALSE;
    }

    p->bRegistered = WatchSessionChanges(hwnd);
    if (p->bRegistered)
        PostMessageA(hwnd, WM_LOCKWATCH_STARTLOCK, 0, 0);
    return TRUE;
}

BOOL WatchSessionChanges(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;

    if (p->pfnRegisterSession == NULL || p->bSessionApiReady != TRUE)
        return FALSE;
    if (!p->pfnRegisterSession(hwnd, NOTIFY_FOR_THIS_SESSION)) {
        TRACE("WTSRegisterSessionNotification() Failed. Error Code %lu.", GetLastError());
        SetTimer(hwnd, IDT_SESSION_RETRY, LOCKWATCH_RETRY_PERIOD, NULL);
        return FALSE;
    }
    return TRUE;
}

/* ---- The lock and the guard ---------------------------------------------------- */

BOOL StartWorkStationLock(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;
    HWND hwndManager;

    TRACE("BOOL StartWorkStationLock(HWND hWnd) 1");
    hwndManager = FindManagerWindow();
    OpenMixer();
    if (hwndManager == NULL)
        return FALSE;

    if (SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwnd) != 1) {
        TRACE("WM_GRAVMON_OVERRIDEMONOPOLIZE FAILED. Error %lu.", GetLastError());
        return FALSE;
    }
    TRACE("WM_GRAVMON_OVERRIDEMONOPOLIZE SUCCESS");

    if (!g_LockwatchPlatform.pfnLockWorkStation()) {
        /* The override was granted: give the readings back before ending. */
        TRACE("LockWorkStation() Failed. Error Code %lu.", GetLastError());
        SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwnd);
        return FALSE;
    }

    TRACE("BOOL StartWorkStationLock(HWND hWnd) 2");
    p->bCheckTimerStarted = TRUE;
    SetTimer(hwnd, IDT_CHECK, g_nTimerInterval, NULL);
    return TRUE;
}

static void StartAlarm(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;
    char szSound[TILTKIT_TEXT_MAX];

    if (p->bCheckTimerStarted)
        KillTimer(hwnd, IDT_CHECK);
    /* A start during the alarm (movement after a resume) finds the speaker
     * already raised: the user's own values saved at the first start stay. */
    if (!p->bAlarmOn)
        SaveMixerState();
    RaiseMixerForAlarm();
    SetHwgateFlag(ALARM_SETTING_FIRST, TRUE);
    SetHwgateFlag(ALARM_SETTING_SECOND, TRUE);
    GetBeepSoundPath(szSound);
    StartAlarmSound(szSound);
    p->bAlarmOn = TRUE;
    if (p->bHoldAlarm && SetTimer(hwnd, IDT_HOLD, LOCKWATCH_HOLD_PERIOD, NULL))
        p->bHoldTimerStarted = TRUE;
}

/* The held alarm: a speaker muted or turned down since the alarm began is
 * raised again. The saved values stay the user's, for the unlock. */
static void HoldAlarm(void)
{
    DWORD dwMute = 0;
    DWORD dwPercent = 100;
    BOOL bMuteRead = GetSpeakerMute(&dwMute);
    BOOL bVolumeRead = GetSpeakerVolume(&dwPercent);

    if ((bMuteRead || bVolumeRead) && SpeakerNeedsRaise(dwMute, dwPercent))
        RaiseMixerForAlarm();
}

BOOL CheckAcceleration(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;
    float fX = 0.0f, fY = 0.0f;
    LONG lResult;

    /* After the end of the lock the access library is gone. */
    if (g_DLGetAcceleration == NULL)
        return FALSE;
    lResult = g_DLGetAcceleration(&fX, &fY, hwnd);
    if (lResult != GRAVMON_OK) {
        TRACE("BOOL CheckAcceleration(HWND hWnd) g_DLGetAcceleration FAILED.Error Code = %ld\n",
              lResult);
        return FALSE;
    }
    if (p->bBaselinePending) {
        p->fBaselineX = fX;
        p->fBaselineY = fY;
        p->bBaselinePending = FALSE;
        return TRUE;
    }
    if (IsMovement(p->fBaselineX, p->fBaselineY, fX, fY, p->dwMoveThreshold))
        StartAlarm(hwnd);
    return TRUE;
}

/* Re-asserts one alarm setting that a suspension may have cleared. */
static void ReassertSetting(int nSetting)
{
    BOOL bOn = FALSE;

    if (GetHwgateFlag(nSetting, &bOn) && !bOn)
        SetHwgateFlag(nSetting, TRUE);
}

void RestoreAfterResume(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;

    /* After the end of the lock (log-off) there is nothing left to guard:
     * the alarm settings stay off and the freed library is not read. */
    if (g_DLGetAcceleration == NULL)
        return;
    if (p->bAlarmOn) {
        ReassertSetting(ALARM_SETTING_FIRST);
        ReassertSetting(ALARM_SETTING_SECOND);
    }
    if (!p->bBaselinePending) {
        p->bBaselinePending = TRUE;
        SetTimer(hwnd, IDT_CHECK, g_nTimerInterval, NULL);
    }
}

BOOL EndWorkStationLock(HWND hwnd)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;
    HWND hwndManager;

    TRACE("BOOL EndWorkStationLock(HWND hWnd) 1");
    if (p->bCheckTimerStarted)
        KillTimer(hwnd, IDT_CHECK);
    if (p->bHoldTimerStarted) {
        KillTimer(hwnd, IDT_HOLD);
        p->bHoldTimerStarted = FALSE;
    }
    if (p->pfnUnregisterSession != NULL && p->bSessionApiReady == TRUE)
        p->pfnUnregisterSession(hwnd);

    /* Forget the entry points with their libraries: a second end (log-off
     * after unlock) or a late resume must not call into freed code. */
    if (p->hSessionLibrary != NULL)
        FreeLibrary(p->hSessionLibrary);
    p->hSessionLibrary = NULL;
    p->pfnRegisterSession = NULL;
    p->pfnUnregisterSession = NULL;
    if (p->hGravmon != NULL)
        FreeLibrary(p->hGravmon);
    p->hGravmon = NULL;
    g_DLGetAcceleration = NULL;

    if (p->bAlarmOn) {
        StopAlarmSound();
        RestoreMixerState();
        SetHwgateFlag(ALARM_SETTING_FIRST, FALSE);
        SetHwgateFlag(ALARM_SETTING_SECOND, FALSE);
    }
    CloseMixer();

    hwndManager = FindManagerWindow();
    if (hwndManager == NULL)
        return FALSE;
    SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwnd);
    TRACE("BOOL EndWorkStationLock(HWND hWnd) 2");
    return TRUE;
}

/* ---- Window procedure ---------------------------------------------------------- */

static LRESULT OnCreateLockwatch(HWND hwnd, const CREATESTRUCTA *pcs)
{
    g_Lockwatch.hInstance = pcs->hInstance;
    PostMessageA(hwnd, WM_LOCKWATCH_INIT, 0, 0);
    return 0;
}

static LRESULT OnInitLockwatch(HWND hwnd)
{
    BOOL bReady = InitLockwatch(hwnd);

    g_Lockwatch.bSessionApiReady = bReady;
    if (!bReady) {
        ShowErrorMessage(hwnd, IDS_LOCKWATCH_NOGRAVMON);
        DestroyWindow(hwnd);
    }
    return 0;
}

static LRESULT OnStartLockLockwatch(HWND hwnd)
{
    if (!StartWorkStationLock(hwnd)) {
        ShowErrorMessage(hwnd, IDS_LOCKWATCH_NOGRAVMON);
        DestroyWindow(hwnd);
    }
    return 0;
}

static LRESULT OnTimerLockwatch(HWND hwnd, UINT_PTR idTimer)
{
    LOCKWATCHSTATE *p = &g_Lockwatch;

    switch (idTimer) {
    case IDT_SESSION_RETRY:
        p->lRegistrationRetries++;
        KillTimer(hwnd, IDT_SESSION_RETRY);
        if (p->lRegistrationRetries > LOCKWATCH_RETRY_LIMIT) {
            DestroyWindow(hwnd);
            break;
        }
        p->bRegistered = WatchSessionChanges(hwnd);
        if (p->bRegistered)
            PostMessageA(hwnd, WM_LOCKWATCH_STARTLOCK, 0, 0);
        break;
    case IDT_CHECK:
        CheckAcceleration(hwnd);
        break;
    case IDT_HOLD:
        HoldAlarm();
        break;
    }
    return 0;
}

static LRESULT OnPowerBroadcastLockwatch(HWND hwnd, WPARAM wEvent)
{
    switch (wEvent) {
    case PBT_APMSUSPEND:
        if (!g_Lockwatch.bBaselinePending)
            KillTimer(hwnd, IDT_CHECK);
        break;
    case PBT_APMRESUMECRITICAL:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMEAUTOMATIC:
        RestoreAfterResume(hwnd);
        break;
    }
    return 0;
}

static LRESULT OnSessionChangeLockwatch(HWND hwnd, WPARAM wEvent)
{
    if (wEvent == WTS_SESSION_UNLOCK) {
        EndWorkStationLock(hwnd);
        DestroyWindow(hwnd);
    }
    return 0;
}

static LRESULT OnEndSessionLockwatch(HWND hwnd, BOOL bEnding)
{
    /* The window stays: the end of the session ends the process. */
    if (bEnding)
        EndWorkStationLock(hwnd);
    return 0;
}

static LRESULT CALLBACK LockwatchWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreateLockwatch(hwnd, (const CREATESTRUCTA *)lParam);
    case WM_LOCKWATCH_INIT:
        return OnInitLockwatch(hwnd);
    case WM_LOCKWATCH_STARTLOCK:
        return OnStartLockLockwatch(hwnd);
    case WM_TIMER:
        return OnTimerLockwatch(hwnd, wParam);
    case WM_POWERBROADCAST:
        return OnPowerBroadcastLockwatch(hwnd, wParam);
    case WM_WTSSESSION_CHANGE:
        return OnSessionChangeLockwatch(hwnd, wParam);
    case WM_ENDSESSION:
        return OnEndSessionLockwatch(hwnd, (BOOL)wParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

HWND CreateLockwatchWindow(HINSTANCE hInstance)
{
    const HIDDENWINDOW window = {
        LOCKWATCH_CLASS, LOCKWATCH_TITLE, LockwatchWndProc,
        LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_LOCKWATCH)), 0,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT
    };

    return CreateHiddenWindow(hInstance, &window);
}
