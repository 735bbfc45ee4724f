/*
 * Gravmgr.exe: the accelerometer manager stand-in. Owns the shared block
 * and its named objects, keeps the readings current from a tilt state,
 * answers the raw-data and override messages, adopts new zero bases, sends
 * gesture notifications, plays a scenario timeline and obeys the control
 * channel (WM_COPYDATA). Without /hidden a small panel lets a person tilt
 * and jolt the "computer".
 */
#include <windows.h>
#include <commctrl.h>
#include <stdarg.h>
#include <stdio.h>

#include "common/regpaths.h"
#include "gravmon/ManagerChannel.h"
#include "gravmgr_ctl.h"
#include "gravmgr_model.h"
#include "resource.h"

#define GM_TIMER_UPDATE   1
#define GM_TIMER_PANEL    2
#define GM_PANEL_MS       250
#define GM_SCENARIO_MAX   1024
#define GM_SCENARIO_BYTES (256 * 1024)
#define GM_COMMAND_MAX    1024
#define GM_CHURN_SPIN     200

#define GM_EXIT_USAGE     2
#define GM_EXIT_OWNER     3
#define GM_EXIT_WINDOW    4

static const UINT g_uMsgNotifyEvent = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);
static const UINT g_uMsgUpdateRawData = RegisterWindowMessageA(GRAVMON_MSG_UPDATERAWDATA);

/* The whole process state. */
struct GravmgrState {
    HINSTANCE hInst;
    HWND hwndManager;
    HWND hwndPanel;
    BOOL bHidden;
    UINT uRate;
    DWORD dwStartTick;
    char szLogPath[MAX_PATH];

    ManagerChannel channel;
    BOOL bServing;

    /* Tilt state and its glide. */
    float fAngleX, fAngleY;
    float fGlideFromX, fGlideFromY, fGlideToX, fGlideToY;
    DWORD dwGlideStart, dwGlideTotal;
    BOOL bGliding;

    /* Overrides of the model until the next tilt. */
    BOOL bAccelFixed;
    float fAccelX, fAccelY;
    BOOL bRawFixed;
    WORD wRawX, wRawY;
    float fMoveOffset;
    int nNoise;
    uint32_t dwNoiseSeed;

    WORD awZeroBase[4];
    BOOL bZeroBaseValid;

    /* The monopoly override of the motion-security program. */
    HWND hwndOverride;
    DWORD dwSavedHolder;

    /* Counters for `get`. */
    volatile LONG lUpdates;
    LONG lRawRequests;
    LONG lOverrides;
    LONG lAdopted;
    LONG lGestures;

    /* Workers: a long mutex hold and the high-rate rewriting. */
    volatile LONG lHolding;
    volatile LONG lChurn;
    HANDLE hChurnThread;

    GmScenarioEntry aScenario[GM_SCENARIO_MAX];
    int nScenario;
    int iScenarioNext;
    DWORD dwScenarioStart;
};

static GravmgrState g_state;

/* Appends one line to the /log file, stamped with seconds since the start. */
static void WriteLog(const char *pszFormat, ...)
{
    char szLine[512];
    char szText[400];
    va_list args;
    HANDLE hFile;
    DWORD dwMs, dwWritten;
    int n;

    if (g_state.szLogPath[0] == '\0')
        return;
    va_start(args, pszFormat);
    n = _vsnprintf(szText, sizeof(szText) - 1, pszFormat, args);
    va_end(args);
    szText[sizeof(szText) - 1] = '\0';
    if (n < 0)
        szText[sizeof(szText) - 2] = '\0';
    dwMs = GetTickCount() - g_state.dwStartTick;
    n = _snprintf(szLine, sizeof(szLine) - 1, "%lu.%03lu %s\r\n",
                  (unsigned long)(dwMs / 1000), (unsigned long)(dwMs % 1000), szText);
    szLine[sizeof(szLine) - 1] = '\0';
    if (n < 0)
        n = lstrlenA(szLine);

    hFile = CreateFileA(g_state.szLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(hFile, 0, NULL, FILE_END);
    WriteFile(hFile, szLine, (DWORD)n, &dwWritten, NULL);
    CloseHandle(hFile);
}

/* Sets or resets one of the owner's named events by name. */
static void MarkZeroBaseValid(BOOL bValid)
{
    g_state.bZeroBaseValid = bValid;
    SetNamedEvent(GRAVMON_VALIDEVENT, !bValid);
}

/*
 * Writes the readings of the current tilt state into the block. Skipped
 * while a worker holds the mutex or rewrites the values itself.
 */
static void WriteReadings()
{
    SharedBlock *pBlock = g_state.channel.Block();
    GmReadings readings;
    uint16_t awZeroBase[4];
    HANDLE hMutex;
    int i;

    if (pBlock == NULL || g_state.lHolding || g_state.lChurn)
        return;
    for (i = 0; i < 4; i++)
        awZeroBase[i] = g_state.awZeroBase[i];
    GmComputeReadings(g_state.fAngleX, g_state.fAngleY, awZeroBase,
                      GmNextNoise(&g_state.dwNoiseSeed, g_state.nNoise),
                      GmNextNoise(&g_state.dwNoiseSeed, g_state.nNoise), &readings);
    if (g_state.fMoveOffset != 0.0f) {
        int nShiftX = (int)(g_state.fMoveOffset * (awZeroBase[2] - awZeroBase[0]));
        readings.fAccelX += g_state.fMoveOffset;
        readings.fAccelY += g_state.fMoveOffset;
        int nRawX = (int)readings.wRawX + nShiftX;
        readings.wRawX = (WORD)(nRawX < 0 ? 0 : nRawX > 1023 ? 1023 : nRawX);
    }
    if (g_state.bAccelFixed) {
        readings.fAccelX = g_state.fAccelX;
        readings.fAccelY = g_state.fAccelY;
    }
    if (g_state.bRawFixed) {
        readings.wRawX = g_state.wRawX;
        readings.wRawY = g_state.wRawY;
    }

    hMutex = g_state.channel.LockBlock();
    if (hMutex == NULL)
        return;
    pBlock->angleX = g_state.fAngleX;
    pBlock->angleY = g_state.fAngleY;
    pBlock->accelX = readings.fAccelX;
    pBlock->accelY = readings.fAccelY;
    pBlock->rawX = readings.wRawX;
    pBlock->rawY = readings.wRawY;
    g_state.channel.UnlockBlock(hMutex);
    InterlockedIncrement(&g_state.lUpdates);
}

/* Runs fn on the block under its mutex; FALSE when the mutex was not had. */
template <class F> static BOOL WithBlock(F fn)
{
    SharedBlock *pBlock = g_state.channel.Block();
    HANDLE hMutex;

    if (pBlock == NULL)
        return FALSE;
    hMutex = g_state.channel.LockBlock();
    if (hMutex == NULL)
        return FALSE;
    fn(pBlock);
    g_state.channel.UnlockBlock(hMutex);
    return TRUE;
}

static DWORD ReadHolder()
{
    DWORD dwHolder = 0;
    WithBlock([&](SharedBlock *pBlock) { dwHolder = pBlock->monopolyWindow; });
    return dwHolder;
}

static void WriteHolder(DWORD dwHolder)
{
    WithBlock([&](SharedBlock *pBlock) { pBlock->monopolyWindow = dwHolder; });
}

static void SetServing(BOOL bServing)
{
    g_state.bServing = bServing;
    WithBlock([&](SharedBlock *pBlock) { pBlock->active = bServing ? 1 : 0; });
    SetNamedEvent(GRAVMON_ALLOWEVENT, !bServing);
    WriteLog(bServing ? "serving" : "serving stopped");
}

static void SetZeroBase(const WORD awZeroBase[4])
{
    int i;
    uint16_t aw[4];

    for (i = 0; i < 4; i++) {
        g_state.awZeroBase[i] = awZeroBase[i];
        aw[i] = awZeroBase[i];
    }
    WithBlock([&](SharedBlock *pBlock) {
        for (int j = 0; j < 4; j++)
            pBlock->zeroBase[j] = awZeroBase[j];
    });
    MarkZeroBaseValid(GmIsZeroBasePlausible(aw));
}

/* A client wrote newZeroBase and reset the updated event: take it over. */
static void AdoptNewZeroBase()
{
    WORD awNew[4] = { 0, 0, 0, 0 };

    if (!IsNamedEventReset(GRAVMON_UPDATEDEVENT))
        return;
    if (!WithBlock([&](SharedBlock *pBlock) {
            for (int i = 0; i < 4; i++)
                awNew[i] = pBlock->newZeroBase[i];
        }))
        return;
    SetNamedEvent(GRAVMON_UPDATEDEVENT, TRUE);
    SetZeroBase(awNew);
    g_state.lAdopted++;
    WriteLog("zero base adopted: %u %u %u %u (%s)", awNew[0], awNew[1], awNew[2], awNew[3],
             g_state.bZeroBaseValid ? "valid" : "not valid");
}

static void EndOverride(const char *pszWhy)
{
    HWND hwnd = g_state.hwndOverride;

    g_state.hwndOverride = NULL;
    WriteHolder(g_state.dwSavedHolder);
    WriteLog("override ended (%s) for window 0x%lx, holder 0x%lx restored", pszWhy,
             (unsigned long)(ULONG_PTR)hwnd, (unsigned long)g_state.dwSavedHolder);
    g_state.dwSavedHolder = 0;
}

/* While an override is granted the requesting window stays the holder. */
static void KeepOverride()
{
    if (g_state.hwndOverride == NULL)
        return;
    if (!IsWindow(g_state.hwndOverride)) {
        EndOverride("window gone");
        return;
    }
    if (ReadHolder() != (DWORD)(ULONG_PTR)g_state.hwndOverride)
        WriteHolder((DWORD)(ULONG_PTR)g_state.hwndOverride);
}

struct GestureCtx {
    WPARAM wCode;
    int nSent;
};

static BOOL CALLBACK PostGestureProc(HWND hwnd, LPARAM lParam)
{
    GestureCtx *pCtx = (GestureCtx *)lParam;
    DWORD dwPid = 0;

    GetWindowThreadProcessId(hwnd, &dwPid);
    if (dwPid != GetCurrentProcessId() && PostMessageA(hwnd, g_uMsgNotifyEvent, pCtx->wCode, 0))
        pCtx->nSent++;
    return TRUE;
}

static void SendGesture(DWORD dwCode)
{
    GestureCtx ctx = { (WPARAM)dwCode, 0 };

    EnumWindows(PostGestureProc, (LPARAM)&ctx);
    g_state.lGestures++;
    WriteLog("gesture 0x%04lx posted to %d windows", (unsigned long)dwCode, ctx.nSent);
}

struct HoldRequest {
    DWORD dwMs;
    HANDLE hStarted;
};

static DWORD WINAPI HoldThreadProc(LPVOID pv)
{
    HoldRequest *pReq = (HoldRequest *)pv;
    DWORD dwMs = pReq->dwMs;
    HANDLE hMutex = NULL;
    int nTries;

    for (nTries = 0; nTries < 10 && hMutex == NULL; nTries++)
        hMutex = g_state.channel.LockBlock();
    SetEvent(pReq->hStarted);   /* pReq belongs to the caller from here on */
    if (hMutex != NULL) {
        Sleep(dwMs);
        g_state.channel.UnlockBlock(hMutex);
    }
    InterlockedExchange(&g_state.lHolding, 0);
    return 0;
}

/* Holds the access mutex on a worker for dwMs; returns once it is held. */
static BOOL StartHold(DWORD dwMs)
{
    HoldRequest req;
    HANDLE hThread;

    if (InterlockedExchange(&g_state.lHolding, 1) != 0)
        return FALSE;
    req.dwMs = dwMs;
    req.hStarted = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (req.hStarted == NULL) {
        InterlockedExchange(&g_state.lHolding, 0);
        return FALSE;
    }
    hThread = CreateThread(NULL, 0, HoldThreadProc, &req, 0, NULL);
    if (hThread == NULL) {
        InterlockedExchange(&g_state.lHolding, 0);
        CloseHandle(req.hStarted);
        return FALSE;
    }
    WaitForSingleObject(req.hStarted, INFINITE);
    CloseHandle(req.hStarted);
    CloseHandle(hThread);
    WriteLog("mutex held for %lu ms", (unsigned long)dwMs);
    return TRUE;
}

/*
 * The high-rate rewriting: every pass writes X then, a little later, Y of
 * each pair with the same value, so a reader outside the mutex would see
 * the two differ.
 */
static DWORD WINAPI ChurnThreadProc(LPVOID pv)
{
    SharedBlock *pBlock = g_state.channel.Block();
    DWORD dwCounter = 0;

    while (g_state.lChurn) {
        HANDLE hMutex;
        if (g_state.lHolding) {
            Sleep(1);
            continue;
        }
        hMutex = g_state.channel.LockBlock();
        if (hMutex != NULL) {
            volatile SharedBlock *pv = pBlock;
            float fValue = (float)(int)(dwCounter % 181) - 90.0f;
            WORD wRaw = (WORD)(dwCounter & 0x3FF);
            pv->angleX = fValue;
            pv->accelX = fValue / 90.0f;
            pv->rawX = wRaw;
            for (volatile int i = 0; i < GM_CHURN_SPIN; i++) {
            }
            pv->angleY = fValue;
            pv->accelY = fValue / 90.0f;
            pv->rawY = wRaw;
            g_state.channel.UnlockBlock(hMutex);
            InterlockedIncrement(&g_state.lUpdates);
            dwCounter++;
        }
        Sleep(0);
    }
    return 0;
}

static BOOL SetChurn(BOOL bOn)
{
    if (bOn) {
        if (g_state.hChurnThread != NULL)
            return TRUE;
        InterlockedExchange(&g_state.lChurn, 1);
        g_state.hChurnThread = CreateThread(NULL, 0, ChurnThreadProc, NULL, 0, NULL);
        if (g_state.hChurnThread == NULL) {
            InterlockedExchange(&g_state.lChurn, 0);
            return FALSE;
        }
        return TRUE;
    }
    InterlockedExchange(&g_state.lChurn, 0);
    if (g_state.hChurnThread != NULL) {
        WaitForSingleObject(g_state.hChurnThread, 5000);
        CloseHandle(g_state.hChurnThread);
        g_state.hChurnThread = NULL;
    }
    WriteReadings();
    return TRUE;
}

static void SetTilt(float fX, float fY, DWORD dwGlideMs)
{
    g_state.bAccelFixed = FALSE;
    g_state.bRawFixed = FALSE;
    g_state.fMoveOffset = 0.0f;
    fX = GmClampAngle(fX);
    fY = GmClampAngle(fY);
    if (dwGlideMs == 0) {
        g_state.bGliding = FALSE;
        g_state.fAngleX = fX;
        g_state.fAngleY = fY;
    } else {
        g_state.bGliding = TRUE;
        g_state.fGlideFromX = g_state.fAngleX;
        g_state.fGlideFromY = g_state.fAngleY;
        g_state.fGlideToX = fX;
        g_state.fGlideToY = fY;
        g_state.dwGlideStart = GetTickCount();
        g_state.dwGlideTotal = dwGlideMs;
    }
    WriteReadings();
}

static LRESULT GetField(int nField)
{
    LRESULT lValue = 0;

    switch (nField) {
    case GM_FIELD_ACTIVE:
        WithBlock([&](SharedBlock *pBlock) { lValue = pBlock->active; });
        return lValue;
    case GM_FIELD_MONOPOLY:
        return (LRESULT)ReadHolder();
    case GM_FIELD_OVERRIDE:
        return (LRESULT)(ULONG_PTR)g_state.hwndOverride;
    case GM_FIELD_ZB0: case GM_FIELD_ZB1: case GM_FIELD_ZB2: case GM_FIELD_ZB3:
        WithBlock([&](SharedBlock *pBlock) { lValue = pBlock->zeroBase[nField - GM_FIELD_ZB0]; });
        return lValue;
    case GM_FIELD_NZB0: case GM_FIELD_NZB1: case GM_FIELD_NZB2: case GM_FIELD_NZB3:
        WithBlock([&](SharedBlock *pBlock) { lValue = pBlock->newZeroBase[nField - GM_FIELD_NZB0]; });
        return lValue;
    case GM_FIELD_RAWX:
        WithBlock([&](SharedBlock *pBlock) { lValue = pBlock->rawX; });
        return lValue;
    case GM_FIELD_RAWY:
        WithBlock([&](SharedBlock *pBlock) { lValue = pBlock->rawY; });
        return lValue;
    case GM_FIELD_VALID:
        return g_state.bZeroBaseValid;
    case GM_FIELD_UPDATES:
        return g_state.lUpdates;
    case GM_FIELD_RAWREQUESTS:
        return g_state.lRawRequests;
    case GM_FIELD_OVERRIDES:
        return g_state.lOverrides;
    case GM_FIELD_ADOPTED:
        return g_state.lAdopted;
    case GM_FIELD_GESTURES:
        return g_state.lGestures;
    }
    return GRAVMGR_RESULT_ERROR;
}

static void RestartScenario()
{
    g_state.iScenarioNext = 0;
    g_state.dwScenarioStart = GetTickCount();
}

/* Carries out one command of the control channel or the scenario. */
static LRESULT ExecuteCommand(const GmCommand *pCmd)
{
    WORD aw[4];
    int i;

    switch (pCmd->nKind) {
    case GM_CMD_TILT:
        SetTilt(pCmd->fArg[0], pCmd->fArg[1], (DWORD)pCmd->lArg[0]);
        return 1;
    case GM_CMD_ACCEL:
        g_state.bAccelFixed = TRUE;
        g_state.fAccelX = pCmd->fArg[0];
        g_state.fAccelY = pCmd->fArg[1];
        WriteReadings();
        return 1;
    case GM_CMD_MOVE:
        g_state.fMoveOffset = g_state.fMoveOffset > 0.0f ? -GM_MOVE_STEP : GM_MOVE_STEP;
        if (g_state.bAccelFixed) {
            g_state.fAccelX += g_state.fMoveOffset;
            g_state.fAccelY += g_state.fMoveOffset;
        }
        WriteReadings();
        WriteLog("moved");
        return 1;
    case GM_CMD_NOISE:
        g_state.nNoise = pCmd->lArg[0];
        return 1;
    case GM_CMD_STILL:
        g_state.nNoise = 0;
        SetTilt(0.0f, 0.0f, 0);
        return 1;
    case GM_CMD_GESTURE:
        SendGesture((DWORD)pCmd->lArg[0]);
        return 1;
    case GM_CMD_HOLD:
        return StartHold((DWORD)pCmd->lArg[0]) ? 1 : GRAVMGR_RESULT_ERROR;
    case GM_CMD_SERVE:
        SetServing(pCmd->lArg[0] != 0);
        return 1;
    case GM_CMD_DROP:
        g_state.dwSavedHolder = 0;
        WriteHolder(0);
        WriteLog("monopoly dropped");
        return 1;
    case GM_CMD_ZEROBASE:
        for (i = 0; i < 4; i++)
            aw[i] = (WORD)pCmd->lArg[i];
        SetZeroBase(aw);
        WriteReadings();
        return 1;
    case GM_CMD_INVALID:
    case GM_CMD_VALID:
        MarkZeroBaseValid(pCmd->nKind == GM_CMD_VALID);
        return 1;
    case GM_CMD_RAW:
        g_state.bRawFixed = TRUE;
        g_state.wRawX = (WORD)pCmd->lArg[0];
        g_state.wRawY = (WORD)pCmd->lArg[1];
        WriteReadings();
        return 1;
    case GM_CMD_CHURN:
        return SetChurn(pCmd->lArg[0] != 0) ? 1 : GRAVMGR_RESULT_ERROR;
    case GM_CMD_GET:
        return GetField(pCmd->nField);
    case GM_CMD_LOOP:
        RestartScenario();
        return 1;
    case GM_CMD_QUIT:
        PostMessageA(g_state.hwndManager, WM_CLOSE, 0, 0);
        return 1;
    }
    return GRAVMGR_RESULT_ERROR;
}

/* Runs the scenario entries that are due. */
static void RunScenario()
{
    DWORD dwElapsed = GetTickCount() - g_state.dwScenarioStart;

    while (g_state.iScenarioNext < g_state.nScenario &&
           g_state.aScenario[g_state.iScenarioNext].dwAtMs <= dwElapsed) {
        const GmCommand *pCmd = &g_state.aScenario[g_state.iScenarioNext].cmd;
        g_state.iScenarioNext++;
        ExecuteCommand(pCmd);
        if (pCmd->nKind == GM_CMD_LOOP)
            break;
    }
}

static void AdvanceGlide()
{
    DWORD dwElapsed;

    if (!g_state.bGliding)
        return;
    dwElapsed = GetTickCount() - g_state.dwGlideStart;
    g_state.fAngleX = GmGlide(g_state.fGlideFromX, g_state.fGlideToX, dwElapsed, g_state.dwGlideTotal);
    g_state.fAngleY = GmGlide(g_state.fGlideFromY, g_state.fGlideToY, dwElapsed, g_state.dwGlideTotal);
    if (dwElapsed >= g_state.dwGlideTotal)
        g_state.bGliding = FALSE;
}

static void OnTimerManager()
{
    RunScenario();
    AdvanceGlide();
    if (g_state.lHolding)
        return;
    KeepOverride();
    AdoptNewZeroBase();
    WriteReadings();
}

static LRESULT OnCopyDataManager(const COPYDATASTRUCT *pcds)
{
    GmCommand cmd;

    if (pcds == NULL || pcds->dwData != GRAVMGR_COPYDATA_TAG || pcds->lpData == NULL ||
        pcds->cbData == 0 || pcds->cbData > GM_COMMAND_MAX)
        return GRAVMGR_RESULT_ERROR;
    if (!GmParseCommand((const char *)pcds->lpData, pcds->cbData, &cmd))
        return GRAVMGR_RESULT_ERROR;
    return ExecuteCommand(&cmd);
}

/* "GravmonUpdateRawData": a fresh reading before the sender goes on. */
static LRESULT OnUpdateRawDataManager()
{
    g_state.lRawRequests++;
    WriteReadings();
    return 0;
}

static LRESULT OnOverrideManager(WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = (HWND)lParam;

    if (wParam == 1) {
        if (hwnd == NULL || !IsWindow(hwnd))
            return 0;
        if (g_state.hwndOverride != NULL && g_state.hwndOverride != hwnd)
            return 0;
        if (g_state.hwndOverride == NULL) {
            g_state.dwSavedHolder = ReadHolder();
            g_state.hwndOverride = hwnd;
            g_state.lOverrides++;
            WriteLog("override begun for window 0x%lx, holder 0x%lx saved",
                     (unsigned long)(ULONG_PTR)hwnd, (unsigned long)g_state.dwSavedHolder);
        }
        WriteHolder((DWORD)(ULONG_PTR)hwnd);
        return 1;
    }
    if (wParam == 0 && g_state.hwndOverride != NULL && g_state.hwndOverride == hwnd) {
        EndOverride("asked");
        return 1;
    }
    return 0;
}

static void OnDestroyManager()
{
    KillTimer(g_state.hwndManager, GM_TIMER_UPDATE);
    SetChurn(FALSE);
    if (g_state.hwndPanel != NULL) {
        DestroyWindow(g_state.hwndPanel);
        g_state.hwndPanel = NULL;
    }
    WriteLog("manager ends");
    g_state.channel.Close();
    PostQuitMessage(0);
}

static LRESULT CALLBACK ManagerWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == g_uMsgUpdateRawData && uMsg != 0)
        return OnUpdateRawDataManager();
    switch (uMsg) {
    case WM_TIMER:
        if (wParam == GM_TIMER_UPDATE)
            OnTimerManager();
        return 0;
    case WM_COPYDATA:
        return OnCopyDataManager((const COPYDATASTRUCT *)lParam);
    case WM_GRAVMON_OVERRIDEMONOPOLIZE:
        return OnOverrideManager(wParam, lParam);
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        OnDestroyManager();
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

/* The panel for a person. */

static void SetupTrackbar(HWND hwndDlg, int idCtrl)
{
    HWND hwndTrack = GetDlgItem(hwndDlg, idCtrl);
    SendMessageA(hwndTrack, TBM_SETRANGEMIN, FALSE, -90);
    SendMessageA(hwndTrack, TBM_SETRANGEMAX, FALSE, 90);
    SendMessageA(hwndTrack, TBM_SETTICFREQ, 15, 0);
    SendMessageA(hwndTrack, TBM_SETPAGESIZE, 0, 10);
    SendMessageA(hwndTrack, TBM_SETPOS, TRUE, 0);
}

static BOOL OnInitPanel(HWND hwndDlg)
{
    SetupTrackbar(hwndDlg, IDC_TILTX);
    SetupTrackbar(hwndDlg, IDC_TILTY);
    SetTimer(hwndDlg, GM_TIMER_PANEL, GM_PANEL_MS, NULL);
    return TRUE;
}

static void OnHScrollPanel(HWND hwndDlg)
{
    float fX = (float)(LONG)SendDlgItemMessageA(hwndDlg, IDC_TILTX, TBM_GETPOS, 0, 0);
    float fY = (float)(LONG)SendDlgItemMessageA(hwndDlg, IDC_TILTY, TBM_GETPOS, 0, 0);
    SetTilt(fX, fY, 0);
}

static void OnCommandPanel(HWND hwndDlg, WORD wId)
{
    GmCommand cmd;

    ZeroMemory(&cmd, sizeof(cmd));
    switch (wId) {
    case IDC_FORWARD: SendGesture(GM_GESTURE_FORWARD); break;
    case IDC_BACK:    SendGesture(GM_GESTURE_BACK); break;
    case IDC_LEFT:    SendGesture(GM_GESTURE_LEFT); break;
    case IDC_RIGHT:   SendGesture(GM_GESTURE_RIGHT); break;
    case IDC_MOVE:
        cmd.nKind = GM_CMD_MOVE;
        ExecuteCommand(&cmd);
        break;
    case IDC_LEVEL:
        cmd.nKind = GM_CMD_STILL;
        ExecuteCommand(&cmd);
        break;
    case IDCANCEL:
        PostMessageA(g_state.hwndManager, WM_CLOSE, 0, 0);
        break;
    }
}

static void SyncTrackbar(HWND hwndDlg, int idCtrl, float fAngle)
{
    HWND hwndTrack = GetDlgItem(hwndDlg, idCtrl);
    LONG lPos = (LONG)(fAngle < 0 ? fAngle - 0.5f : fAngle + 0.5f);

    if (GetCapture() != hwndTrack && (LONG)SendMessageA(hwndTrack, TBM_GETPOS, 0, 0) != lPos)
        SendMessageA(hwndTrack, TBM_SETPOS, TRUE, lPos);
}

static void OnTimerPanel(HWND hwndDlg)
{
    char szFormat[TILTKIT_TEXT_MAX];
    char szValid[64];
    char szText[TILTKIT_TEXT_MAX];
    SharedBlock copy;

    SyncTrackbar(hwndDlg, IDC_TILTX, g_state.fAngleX);
    SyncTrackbar(hwndDlg, IDC_TILTY, g_state.fAngleY);
    if (!g_state.bServing) {
        LoadStringA(g_state.hInst, IDS_NOTSERVING, szText, sizeof(szText));
    } else {
        ZeroMemory(&copy, sizeof(copy));
        WithBlock([&](SharedBlock *pBlock) { copy = *pBlock; });
        LoadStringA(g_state.hInst, IDS_READINGS, szFormat, sizeof(szFormat));
        LoadStringA(g_state.hInst, g_state.bZeroBaseValid ? IDS_ZBVALID : IDS_ZBINVALID,
                    szValid, sizeof(szValid));
        _snprintf(szText, sizeof(szText) - 1, szFormat, copy.angleX, copy.angleY, copy.accelX,
                  copy.accelY, copy.rawX, copy.rawY, copy.zeroBase[0], copy.zeroBase[1],
                  copy.zeroBase[2], copy.zeroBase[3], szValid);
        szText[sizeof(szText) - 1] = '\0';
    }
    SetDlgItemTextA(hwndDlg, IDC_READINGS, szText);
}

static INT_PTR CALLBACK PanelDlgProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPanel(hwndDlg);
    case WM_HSCROLL:
        OnHScrollPanel(hwndDlg);
        return TRUE;
    case WM_COMMAND:
        OnCommandPanel(hwndDlg, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        OnTimerPanel(hwndDlg);
        return TRUE;
    case WM_DESTROY:
        KillTimer(hwndDlg, GM_TIMER_PANEL);
        return TRUE;
    }
    return FALSE;
}

/* Start-up. */

/* Reads the scenario file into the timeline; FALSE for a bad file. */
static BOOL LoadScenario(const char *pszPath)
{
    HANDLE hFile;
    char *pText = NULL;
    DWORD dwSize, dwRead = 0;
    int nErrorLine = 0;
    BOOL bOk = FALSE;

    hFile = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        WriteLog("scenario %s cannot be opened", pszPath);
        return FALSE;
    }
    dwSize = GetFileSize(hFile, NULL);
    if (dwSize == INVALID_FILE_SIZE || dwSize > GM_SCENARIO_BYTES) {
        WriteLog("scenario %s is too large", pszPath);
        goto cleanup;
    }
    pText = (char *)LocalAlloc(LMEM_FIXED, dwSize + 1);
    if (pText == NULL || !ReadFile(hFile, pText, dwSize, &dwRead, NULL) || dwRead != dwSize)
        goto cleanup;
    if (!GmParseScenario(pText, dwRead, g_state.aScenario, GM_SCENARIO_MAX,
                         &g_state.nScenario, &nErrorLine)) {
        WriteLog("scenario %s: bad line %d", pszPath, nErrorLine);
        goto cleanup;
    }
    WriteLog("scenario %s: %d entries", pszPath, g_state.nScenario);
    bOk = TRUE;
cleanup:
    if (pText != NULL)
        LocalFree(pText);
    CloseHandle(hFile);
    return bOk;
}

/* [/hidden] [/scenario FILE] [/rate HZ] [/log FILE] */
static BOOL ParseCommandLine(char *pszScenario, size_t cchScenario)
{
    const char *p = GetCommandLineA();
    char szArg[MAX_PATH];
    char szValue[MAX_PATH];

    p = GmNextArg(p, szArg, sizeof(szArg));   /* the program itself */
    while (p != NULL && (p = GmNextArg(p, szArg, sizeof(szArg))) != NULL) {
        if (lstrcmpiA(szArg, "/hidden") == 0) {
            g_state.bHidden = TRUE;
            continue;
        }
        if (lstrcmpiA(szArg, "/scenario") != 0 && lstrcmpiA(szArg, "/rate") != 0 &&
            lstrcmpiA(szArg, "/log") != 0)
            return FALSE;
        p = GmNextArg(p, szValue, sizeof(szValue));
        if (p == NULL)
            return FALSE;
        if (lstrcmpiA(szArg, "/scenario") == 0) {
            lstrcpynA(pszScenario, szValue, (int)cchScenario);
        } else if (lstrcmpiA(szArg, "/log") == 0) {
            lstrcpynA(g_state.szLogPath, szValue, sizeof(g_state.szLogPath));
        } else {
            int32_t lRate;
            if (!GmParseInt(szValue, 1, 1000, &lRate))
                return FALSE;
            g_state.uRate = (UINT)lRate;
        }
    }
    return TRUE;
}

/* Takes the owner role and starts serving with a valid zero base, level. */
static BOOL StartServing()
{
    static const WORD s_awZeroBase[4] = { 512, 512, 614, 614 };

    if (!g_state.channel.Open(FALSE, TRUE)) {
        WriteLog("the block is owned by another manager");
        return FALSE;
    }
    SetZeroBase(s_awZeroBase);
    WriteReadings();
    SetServing(TRUE);
    return TRUE;
}

static BOOL CreateManagerWindow()
{
    WNDCLASSA wc;

    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = ManagerWndProc;
    wc.hInstance = g_state.hInst;
    wc.lpszClassName = GRAVMON_WINDOWCLASS;
    if (!RegisterClassA(&wc))
        return FALSE;
    g_state.hwndManager = CreateWindowExA(0, GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME,
                                          WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                          g_state.hInst, NULL);
    return g_state.hwndManager != NULL;
}

static BOOL CreatePanel()
{
    INITCOMMONCONTROLSEX icc;

    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    g_state.hwndPanel = CreateDialogParamA(g_state.hInst, MAKEINTRESOURCEA(IDD_PANEL), NULL,
                                           PanelDlgProc, 0);
    if (g_state.hwndPanel == NULL)
        return FALSE;
    ShowWindow(g_state.hwndPanel, SW_SHOWNORMAL);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nShow)
{
    char szScenario[MAX_PATH] = "";
    MSG msg;

    g_state.hInst = hInstance;
    g_state.uRate = 50;
    g_state.dwStartTick = GetTickCount();
    g_state.dwNoiseSeed = GetTickCount() | 1;

    if (!ParseCommandLine(szScenario, sizeof(szScenario)))
        return GM_EXIT_USAGE;
    if (szScenario[0] != '\0' && !LoadScenario(szScenario))
        return GM_EXIT_USAGE;
    if (!StartServing())
        return GM_EXIT_OWNER;
    if (!CreateManagerWindow()) {
        g_state.channel.Close();
        return GM_EXIT_WINDOW;
    }
    if (!g_state.bHidden)
        CreatePanel();
    RestartScenario();
    SetTimer(g_state.hwndManager, GM_TIMER_UPDATE, 1000u / g_state.uRate, NULL);
    WriteLog("manager started, %u updates per second", g_state.uRate);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (g_state.hwndPanel != NULL && IsDialogMessageA(g_state.hwndPanel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
