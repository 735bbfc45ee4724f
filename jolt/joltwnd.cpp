#include "jolt/joltrun.h"
#include "common/trace.h"

CJoltrunSub g_JoltrunSub;
int g_bJoltActive = 0;

/* Obtained once, before the entry point runs. */
UINT g_uMsgGravmonNotify = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);
UINT g_uMsgGravmonConfigChanged = RegisterWindowMessageA(GRAVMON_MSG_CONFIGCHANGED);
UINT g_uMsgJoltConfigChanged = RegisterWindowMessageA(JOLTRUN_MSG_CONFIGCHANGED);

static void OnCreateJolt(HWND hwnd, const CREATESTRUCTA *pcs)
{
    if (g_JoltrunSub.InitJolt(hwnd, pcs->hInstance))
        g_bJoltActive = 1;
    else
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

static void OnCloseJolt(HWND hwnd)
{
    g_JoltrunSub.StopIdleTimer(hwnd);
    g_bJoltActive = 0;
    DestroyWindow(hwnd);
}

static void OnEndSessionJolt(HWND hwnd, BOOL bEnding)
{
    if (!bEnding)
        return;
    g_JoltrunSub.StopIdleTimer(hwnd);
    g_bJoltActive = 0;
}

static void OnConfigChangedJolt(HWND hwnd)
{
    if (!g_JoltrunSub.UpdateJoltData(hwnd))
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
        if (wParam != JOLTRUN_IDLE_TIMER)
            break;
        g_JoltrunSub.OnIdleTimer(hwnd);
        return 0;
    default:
        if (OnRegisteredJolt(hwnd, uMsg, wParam, lParam))
            return 0;
        break;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

HWND CreateJoltWindow(HINSTANCE hInstance)
{
    WNDCLASSA wc;

    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = JoltWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = JOLTRUN_WINDOWCLASS;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        TRACE("RegisterClass() Failed in CreateJoltWindow().\nReturn Value %d", (int)GetLastError());
        return NULL;
    }

    return CreateWindowExA(WS_EX_TOOLWINDOW, JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME,
                           WS_OVERLAPPEDWINDOW, -65536, -65536, 0, 0, NULL, NULL,
                           hInstance, NULL);
}
