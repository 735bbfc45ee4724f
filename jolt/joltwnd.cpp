#include "jolt/joltrun.h"
#include "common/bgprogram.h"
#include "common/trace.h"

CJoltrunSub g_JoltrunSub;
int g_bJoltActive = 0;

/* Obtained once, before the entry point runs. */
UINT g_uMsgGravmonNotify = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);
UINT g_uMsgGravmonConfigChanged = RegisterWindowMessageA(GRAVMON_MSG_CONFIGCHANGED);

static void OnCreateJolt(HWND hwnd, const CREATESTRUCTA *pcs)
{
    if (g_JoltrunSub.InitJolt(hwnd, pcs->hInstance)) {
        g_bJoltActive = 1;
        g_JoltrunSub.ApplyAutoRotate(hwnd);
    } else {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
}

static void OnCloseJolt(HWND hwnd)
{
    g_JoltrunSub.StopIdleTimer(hwnd);
    g_JoltrunSub.StopQuietTime();
    g_JoltrunSub.StopAutoRotate(hwnd);
    g_bJoltActive = 0;
    DestroyWindow(hwnd);
}

static void OnEndSessionJolt(HWND hwnd, BOOL bEnding)
{
    if (!bEnding)
        return;
    g_JoltrunSub.StopIdleTimer(hwnd);
    g_JoltrunSub.StopQuietTime();
    g_JoltrunSub.StopAutoRotate(hwnd);
    g_bJoltActive = 0;
}

static void OnConfigChangedJolt(HWND hwnd)
{
    if (g_JoltrunSub.UpdateJoltData(hwnd))
        g_JoltrunSub.ApplyAutoRotate(hwnd);
    else
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

/* The registered messages; FALSE when the message is not one of ours now. */
static BOOL OnRegisteredJolt(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!g_bJoltActive || uMsg == 0)
        return FALSE;
    if (uMsg == g_uMsgGravmonNotify) {
        g_JoltrunSub.OnGravmonNotify(hwnd, wParam, lParam);
        return TRUE;
    }
    if (uMsg == g_uMsgJoltConfigChanged) {
        OnConfigChangedJolt(hwnd);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK JoltWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        OnCreateJolt(hwnd, (const CREATESTRUCTA *)lParam);
        return 0;
    case WM_CLOSE:
        OnCloseJolt(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ENDSESSION:
        OnEndSessionJolt(hwnd, (BOOL)wParam);
        return 0;
    case WM_TIMER:
        if (wParam == JOLTRUN_IDLE_TIMER)
            g_JoltrunSub.OnIdleTimer(hwnd);
        else if (wParam == JOLTRUN_ROTATE_TIMER)
            g_JoltrunSub.OnRotateTimer(hwnd);
        else
            break;
        return 0;
    case WM_DISPLAYCHANGE:
        g_JoltrunSub.OnDisplayChange(hwnd);
        break;
    default:
        if (OnRegisteredJolt(hwnd, uMsg, wParam, lParam))
            return 0;
        break;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

HWND CreateJoltWindow(HINSTANCE hInstance)
{
    const HIDDENWINDOW window = {
        JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME, JoltWndProc, NULL, WS_EX_TOOLWINDOW,
        -65536, -65536, 0, 0
    };

    return CreateHiddenWindow(hInstance, &window);
}
