/*
 * The runtime's process-wide state: one Tiltfeed item, the bound access
 * library, the launcher thread and the request it works on.
 */
#ifndef TILTFEED_FEEDRUN_H
#define TILTFEED_FEEDRUN_H

#include <windows.h>
#include "common/regpaths.h"
#include "gravmon/gravmon.h"
#include "tiltfeed/comfort.h"

#define WM_TILTFEED_START       (WM_APP + 1)
#define WM_TILTFEED_TARGETREADY (WM_APP + 2)
#define WM_TILTFEED_TARGETENDED (WM_APP + 3)

#define TILTFEED_TIMER_ID     16
#define TILTFEED_TIMER_PERIOD 100

#define TILTFEED_WINDOWCLASS  "TiltkitTiltfeed Class"
#define TILTFEED_WINDOWTITLE  "TiltkitTiltfeed"
#define TILTFEED_EXITEVENT    "ExitTiltfeedThread"

/* The only data the launcher thread touches. */
typedef struct LAUNCHREQUEST {
    char szCmdLine[TILTKIT_TEXT_MAX];           /* the item's path */
    char szTargetCmdLine[TILTKIT_TEXT_MAX + 2]; /* the same, quoted when it has a blank */
    char szFileName[TILTKIT_TEXT_MAX];
    volatile DWORD dwProcessId;   /* written once by the launcher thread */
    HWND hwndMain;
} LAUNCHREQUEST;

typedef struct TILTFEEDDATA {
    HINSTANCE hInstance;
    char szItemName[TILTKIT_TEXT_MAX];
    char szFileName[TILTKIT_TEXT_MAX];
    char szPath[TILTKIT_TEXT_MAX];
    DWORD dwType;
    DWORD dwMouseRate;
    DWORD dwCursorKeyRate;
    HMODULE hGravmon;
    PFN_GETACCELERATION m_DLGetAcceleration;
    PFN_GETANGLE m_DLGetAngle;
    PFN_MONOPOLIZE m_DLMonopolize;
    PFN_UNMONOPOLIZE m_DLUnmonopolize;
    HANDLE hLauncherThread;
    LAUNCHREQUEST launch;
    HANDLE hExitEvent;
    LONG bTicking;
    BOOL bMonopolized;            /* Monopolize succeeded; given back in cleanup */
    FEEDCOMFORT comfort;          /* opt-in dead zone and level at front; off = 0 */
    DWORD dwOrientation;          /* the screen's, ORIENT_* of tiltfeed/orient.h */
} TILTFEEDDATA;

/* One timer tick: while the target is in front, the current tilt becomes a
 * relative mouse move or a burst of cursor keys. */
void TickTiltfeed(TILTFEEDDATA *pData, HWND hwndMain);

#endif
