/*
 * Feedrun.exe: serves one Tiltfeed item. Reads the item, binds the access
 * library, takes the accelerometer monopoly for its hidden window, starts
 * the item's application on a launcher thread and, while that application
 * runs, turns tilt into input for it on every tick (feedtick.cpp).
 */
#include "tiltfeed/feeditem.h"
#include "tiltfeed/feedrun.h"
#include "tiltfeed/feedcmd.h"
#include "tiltfeed/feedsys.h"
#include "tiltfeed/orient.h"
#include "tiltfeed/resource.h"
#include "common/bgprogram.h"
#include "common/errorbox.h"
#include "common/gravbind.h"
#include "common/regread.h"
#include "common/display.h"
#include "common/trace.h"
#include <objbase.h>
#include <stdarg.h>

static TILTFEEDDATA g_TiltfeedData;

static int ShowTiltfeedError(HWND hwndOwner, UINT idText, ...)
{
    va_list args;
    int nResult;

    va_start(args, idText);
    nResult = ShowErrorBoxV(g_TiltfeedData.hInstance, IDS_FEEDRUN_CAPTION, hwndOwner, idText,
                            MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
    return nResult;
}

/* The item's five values, read as the settings page reads them. */
static BOOL GetTiltfeedRegData(HKEY hKey)
{
    TILTFEEDDATA *p = &g_TiltfeedData;
    TILTFEEDITEM item;

    if (!GetAppDataFromReg(hKey, &item))
        return FALSE;
    lstrcpynA(p->szFileName, item.szFileName, ARRAYSIZE(p->szFileName));
    lstrcpynA(p->szPath, item.szPath, ARRAYSIZE(p->szPath));
    p->dwType = item.dwType;
    p->dwMouseRate = item.dwMouseRate;
    p->dwCursorKeyRate = item.dwCursorKeyRate;
    return TRUE;
}

/* Loads the access library and binds the four entry points. A library
 * without one of them is freed again. */
static BOOL GetGravmonDll(void)
{
    TILTFEEDDATA *p = &g_TiltfeedData;
    const GRAVMONEXPORT aExports[] = {
        GRAVMON_BIND(GRAVMON_EXPORT_GETACCELERATION, p->m_DLGetAcceleration),
        GRAVMON_BIND(GRAVMON_EXPORT_GETANGLE, p->m_DLGetAngle),
        GRAVMON_BIND(GRAVMON_EXPORT_MONOPOLIZE, p->m_DLMonopolize),
        GRAVMON_BIND(GRAVMON_EXPORT_UNMONOPOLIZE, p->m_DLUnmonopolize),
    };

    switch (LoadGravmon(&p->hGravmon, aExports, ARRAYSIZE(aExports), REGREAD_CUT_FULL, NULL)) {
    case GRAVMON_LOAD_OK:
        return TRUE;
    case GRAVMON_LOAD_NOPATH:
        ShowTiltfeedError(NULL, IDS_FEEDRUN_NOREGDATA);
        return FALSE;
    case GRAVMON_LOAD_NOEXPORT:
        FreeLibrary(p->hGravmon);
        p->hGravmon = NULL;
        break;
    }
    ShowTiltfeedError(NULL, IDS_FEEDRUN_NOGRAVMON);
    return FALSE;
}

static BOOL InitTiltfeed(HINSTANCE hInstance, const char *pszTail)
{
    TILTFEEDDATA *p = &g_TiltfeedData;
    char szKey[TILTKIT_TEXT_MAX];
    HKEY hKey = NULL;
    LONG lResult;
    BOOL bRead;

    ZeroMemory(p, sizeof(*p));
    p->hInstance = hInstance;

    if (!BuildItemKeyPath(TILTKIT_REG_TILTFEED, pszTail, szKey, sizeof(szKey))) {
        TRACE("Cmd Str Length is too long in InitTiltfeed().");
        ShowTiltfeedError(NULL, IDS_FEEDRUN_BADSHORTCUT);
        return FALSE;
    }

    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, szKey, 0, KEY_READ, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in InitTiltfeed().\nReturn Value %ld", lResult);
        ShowTiltfeedError(NULL, IDS_FEEDRUN_NOREGDATA);
        return FALSE;
    }
    lstrcpynA(p->szItemName, pszTail, sizeof(p->szItemName));
    bRead = GetTiltfeedRegData(hKey);
    if (bRead)
        GetItemComfort(hKey, &p->comfort);
    RegCloseKey(hKey);
    if (!bRead) {
        ShowTiltfeedError(NULL, IDS_FEEDRUN_NOREGDATA);
        return FALSE;
    }

    return GetGravmonDll();
}

/* Starts the target, waits until it is ready for input, then waits for
 * its end or for the exit event. */
static DWORD WINAPI LauncherThreadProc(LPVOID pvParam)
{
    LAUNCHREQUEST *pRequest = (LAUNCHREQUEST *)pvParam;
    char szWorkDir[TILTKIT_TEXT_MAX];
    LPCSTR pszApplication = NULL;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    int nStart;

    BuildWorkDir(pRequest->szCmdLine, szWorkDir, sizeof(szWorkDir));
    nStart = BuildTargetCommandLine(pRequest->szCmdLine, pRequest->szTargetCmdLine,
                                    sizeof(pRequest->szTargetCmdLine));
    if (nStart == TARGET_QUOTED)
        pszApplication = pRequest->szCmdLine;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    GetStartupInfoA(&si);
    ZeroMemory(&pi, sizeof(pi));

    /* A path without any folder starts in this process's own folder. */
    if (nStart != TARGET_TOO_LONG &&
        CreateProcessA(pszApplication, pRequest->szTargetCmdLine, NULL, NULL, FALSE,
                       NORMAL_PRIORITY_CLASS, NULL, szWorkDir[0] != '\0' ? szWorkDir : NULL,
                       &si, &pi)) {
        HANDLE ahWait[2];
        DWORD dwCount = 0;
        HANDLE hExitEvent;

        WaitForInputIdle(pi.hProcess, 10000);
        pRequest->dwProcessId = pi.dwProcessId;
        PostMessageA(pRequest->hwndMain, WM_TILTFEED_TARGETREADY, 0, 0);
        CloseHandle(pi.hThread);

        hExitEvent = OpenEventA(EVENT_ALL_ACCESS, FALSE, TILTFEED_EXITEVENT);
        if (hExitEvent == NULL)
            TRACE("OpenEvent() Failed in LauncherThreadProc().\nGetLastError Report %lu\n",
                  GetLastError());
        ahWait[dwCount++] = pi.hProcess;
        if (hExitEvent != NULL)
            ahWait[dwCount++] = hExitEvent;
        WaitForMultipleObjects(dwCount, ahWait, FALSE, INFINITE);

        CloseHandle(pi.hProcess);
        if (hExitEvent != NULL)
            CloseHandle(hExitEvent);
    } else {
        TRACE("CreateProcess() Failed in LauncherThreadProc().\nGetLastError Report %lu\n",
              GetLastError());
    }

    if (pRequest->hwndMain != NULL)
        PostMessageA(pRequest->hwndMain, WM_TILTFEED_TARGETENDED, 0, 0);
    return 0;
}

static BOOL StartTiltfeed(HWND hwnd)
{
    TILTFEEDDATA *p = &g_TiltfeedData;
    DWORD dwThreadId;
    LONG lResult;

    p->launch.hwndMain = hwnd;
    p->launch.dwProcessId = 0;
    lstrcpynA(p->launch.szCmdLine, p->szPath, sizeof(p->launch.szCmdLine));
    lstrcpynA(p->launch.szFileName, p->szFileName, sizeof(p->launch.szFileName));

    lResult = p->m_DLMonopolize(hwnd);
    if (lResult != GRAVMON_OK) {
        TRACE("m_DLMonopolize() Failed in StartTiltfeed().\nReturn Value %ld\n", lResult);
        ShowTiltfeedError(hwnd, lResult == GRAVMON_E_MONOPOLY ? IDS_FEEDRUN_MONOPOLIZED : IDS_FEEDRUN_NOGRAVMON);
        return FALSE;
    }

    p->hExitEvent = CreateEventA(NULL, TRUE, FALSE, TILTFEED_EXITEVENT);
    if (p->hExitEvent == NULL) {
        TRACE("CreateEvent() Failed in StartTiltfeed().\nGetLastError Report %lu\n", GetLastError());
        p->m_DLUnmonopolize(hwnd);
        ShowTiltfeedError(hwnd, IDS_FEEDRUN_CANNOTRUN, p->szItemName);
        return FALSE;
    }

    p->hLauncherThread = CreateThread(NULL, 0, LauncherThreadProc, &p->launch, 0, &dwThreadId);
    if (p->hLauncherThread == NULL) {
        TRACE("CreateThread() Failed in StartTiltfeed().\nGetLastError Report %lu\n", GetLastError());
        ShowTiltfeedError(hwnd, IDS_FEEDRUN_CANNOTRUN, p->szItemName);
        p->m_DLUnmonopolize(hwnd);
        return FALSE;
    }
    p->bMonopolized = TRUE;
    return TRUE;
}

/* The single way out: the monopoly is given back before the library goes,
 * so that the next Feedrun is not refused. */
static void CleanupTiltfeed(void)
{
    TILTFEEDDATA *p = &g_TiltfeedData;

    if (p->hGravmon != NULL) {
        if (p->bMonopolized && p->m_DLUnmonopolize != NULL)
            p->m_DLUnmonopolize(p->launch.hwndMain);
        p->bMonopolized = FALSE;
        FreeLibrary(p->hGravmon);
        p->hGravmon = NULL;
        p->m_DLGetAcceleration = NULL;
        p->m_DLGetAngle = NULL;
        p->m_DLMonopolize = NULL;
        p->m_DLUnmonopolize = NULL;
    }
    if (p->hLauncherThread != NULL) {
        CloseHandle(p->hLauncherThread);
        p->hLauncherThread = NULL;
    }
    if (p->hExitEvent != NULL) {
        CloseHandle(p->hExitEvent);
        p->hExitEvent = NULL;
    }
    p->launch.dwProcessId = 0;
}

/* The screen's orientation now; the default when it cannot be read. */
static DWORD ReadScreenOrientation(void)
{
    return OrientFromDisplay(ReadDisplayOrientation(g_FeedSystem.pfnEnumDisplaySettingsA));
}

static void StopTicking(HWND hwnd)
{
    if (g_TiltfeedData.bTicking) {
        g_TiltfeedData.bTicking = 0;
        KillTimer(hwnd, TILTFEED_TIMER_ID);
    }
}

static LRESULT OnCreateTiltfeed(HWND hwnd)
{
    g_TiltfeedData.dwOrientation = ReadScreenOrientation();
    PostMessageA(hwnd, WM_TILTFEED_START, 0, 0);
    return 0;
}

static LRESULT OnStartTiltfeed(HWND hwnd)
{
    if (!StartTiltfeed(hwnd))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

static LRESULT OnTargetReadyTiltfeed(HWND hwnd)
{
    g_TiltfeedData.bTicking = 1;
    SetTimer(hwnd, TILTFEED_TIMER_ID, TILTFEED_TIMER_PERIOD, NULL);
    return 0;
}

static LRESULT OnTimerTiltfeed(HWND hwnd, WPARAM idTimer)
{
    if (idTimer == TILTFEED_TIMER_ID)
        TickTiltfeed(&g_TiltfeedData, hwnd);
    return 0;
}

static LRESULT OnTargetEndedTiltfeed(HWND hwnd)
{
    StopTicking(hwnd);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

static LRESULT OnCloseTiltfeed(HWND hwnd)
{
    CleanupTiltfeed();
    DestroyWindow(hwnd);
    return 0;
}

static LRESULT OnDestroyTiltfeed(HWND hwnd)
{
    PostQuitMessage(0);
    return 0;
}

/* Acted on whatever the parameters say: the launcher thread stops waiting,
 * and its TARGETENDED then closes the window. */
static LRESULT OnEndSessionTiltfeed(HWND hwnd)
{
    if (g_TiltfeedData.hExitEvent != NULL)
        SetEvent(g_TiltfeedData.hExitEvent);
    StopTicking(hwnd);
    CleanupTiltfeed();
    return 0;
}

/* The screen was turned (or its mode changed): the angles are turned anew
 * from the next tick on. A level posture taken in the old frame no longer
 * means anything, so it is taken again. */
static LRESULT OnDisplayChangeTiltfeed(HWND hwnd)
{
    DWORD dwOrientation = ReadScreenOrientation();

    if (dwOrientation != g_TiltfeedData.dwOrientation) {
        g_TiltfeedData.dwOrientation = dwOrientation;
        FeedComfortLeftFront(&g_TiltfeedData.comfort);
    }
    return 0;
}

static LRESULT CALLBACK TiltfeedWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreateTiltfeed(hwnd);
    case WM_TILTFEED_START:
        return OnStartTiltfeed(hwnd);
    case WM_TILTFEED_TARGETREADY:
        return OnTargetReadyTiltfeed(hwnd);
    case WM_TIMER:
        return OnTimerTiltfeed(hwnd, wParam);
    case WM_TILTFEED_TARGETENDED:
        return OnTargetEndedTiltfeed(hwnd);
    case WM_CLOSE:
        return OnCloseTiltfeed(hwnd);
    case WM_DESTROY:
        return OnDestroyTiltfeed(hwnd);
    case WM_ENDSESSION:
        return OnEndSessionTiltfeed(hwnd);
    case WM_DISPLAYCHANGE:
        return OnDisplayChangeTiltfeed(hwnd);
    default:
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    const HIDDENWINDOW window = {
        TILTFEED_WINDOWCLASS, TILTFEED_WINDOWTITLE, TiltfeedWndProc, NULL, 0,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT
    };
    int nExitCode = 0;

    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);

    /* The tail is taken from the full command line verbatim: not unquoted,
     * not trimmed at the end. */
    if (InitTiltfeed(hInstance, SkipProgramName(GetCommandLineA()))) {
        if (CreateHiddenWindow(hInstance, &window) != NULL)
            nExitCode = RunMessageLoop();
        CleanupTiltfeed();
    }
    CoUninitialize();
    return nExitCode;
}
