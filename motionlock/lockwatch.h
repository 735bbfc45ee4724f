/*
 * Lockwatch.exe: locks the workstation and guards the locked computer
 * against being moved. A hidden window receives the timer, power, session
 * and private messages; every operation runs from its window procedure.
 */
#ifndef MOTIONLOCK_LOCKWATCH_H
#define MOTIONLOCK_LOCKWATCH_H

#include <windows.h>
#include "gravmon/gravmon.h"

#define LOCKWATCH_MUTEX        "Lockwatch Mutex"
#define LOCKWATCH_CLASS        "Lockwatch Class"
#define LOCKWATCH_TITLE        "Lockwatch"
#define LOCKWATCH_SESSION_DLL  "Wtsapi32.DLL"

#define WM_LOCKWATCH_INIT      (WM_APP + 100)
#define WM_LOCKWATCH_STARTLOCK (WM_APP + 101)

/* Session notifications, in case the headers lack them. */
#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE 0x02B1
#endif
#ifndef WTS_SESSION_UNLOCK
#define WTS_SESSION_UNLOCK 0x8
#endif
#ifndef NOTIFY_FOR_THIS_SESSION
#define NOTIFY_FOR_THIS_SESSION 0
#endif

#define IDT_SESSION_RETRY      512
#define IDT_CHECK              513
#define IDT_HOLD               514   /* opt-in: the held alarm looks at the speaker */

#define LOCKWATCH_CHECK_PERIOD   100
#define LOCKWATCH_RETRY_PERIOD   1000
#define LOCKWATCH_RETRY_LIMIT    100

typedef BOOL (WINAPI *PFN_WTSREGISTERSESSIONNOTIFICATION)(HWND hwnd, DWORD dwFlags);
typedef BOOL (WINAPI *PFN_WTSUNREGISTERSESSIONNOTIFICATION)(HWND hwnd);

/* The runtime's state; all zero at process start. */
typedef struct LOCKWATCHSTATE {
    HINSTANCE hInstance;
    HANDLE hMutex;
    HMODULE hGravmon;
    BOOL bBaselinePending;
    float fBaselineX;
    float fBaselineY;
    BOOL bCheckTimerStarted;
    BOOL bAlarmOn;
    BOOL bSessionApiReady;
    HMODULE hSessionLibrary;
    PFN_WTSREGISTERSESSIONNOTIFICATION pfnRegisterSession;
    PFN_WTSUNREGISTERSESSIONNOTIFICATION pfnUnregisterSession;
    BOOL bRegistered;
    LONG lRegistrationRetries;
    /* Opt-in, from HKLM "...\Lockwatch"; 0 = as always. */
    DWORD dwMoveThreshold;      /* thousandths of g; smaller changes are no movement */
    BOOL bHoldAlarm;            /* keep the speaker unmuted at full volume while the alarm sounds */
    BOOL bHoldTimerStarted;
} LOCKWATCHSTATE;

extern LOCKWATCHSTATE g_Lockwatch;
extern PFN_GETACCELERATION g_DLGetAcceleration;
extern UINT g_nTimerInterval;

BOOL InitLockwatch(HWND hwnd);
BOOL WatchSessionChanges(HWND hwnd);
BOOL StartWorkStationLock(HWND hwnd);
BOOL CheckAcceleration(HWND hwnd);
void RestoreAfterResume(HWND hwnd);
BOOL EndWorkStationLock(HWND hwnd);
void ShowErrorMessage(HWND hwndOwner, UINT idText, ...);

/* Registers the window class (once per process) and creates the hidden
 * main window; NULL when it cannot be created. */
HWND CreateLockwatchWindow(HINSTANCE hInstance);

#endif
