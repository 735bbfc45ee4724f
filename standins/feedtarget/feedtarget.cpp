#include <windows.h>
#include <shlwapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "standins/feedtarget/feedtarget.h"

#define FEEDTARGET_TIMER_EXIT 1

static struct {
    HANDLE hLog;
    char szTitle[260];
    DWORD dwExitMs;
    DWORD dwBusyMs;
    POINT ptLast;
    BOOL bHavePoint;
    /* Shown in the window: presses so far, the last key, moves and their sum. */
    HWND hwnd;
    DWORD cKeys;
    UINT uLastVk;
    DWORD cMoves;
    LONG lSumX;
    LONG lSumY;
} g_target;

static const char *KeyName(UINT uVk)
{
    switch (uVk) {
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case 0: return "-";
    default: return "other";
    }
}

static void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    char sz[256];
    HDC hdc = BeginPaint(hwnd, &ps);
    int n = _snprintf(sz, sizeof(sz) - 1, "keys pressed: %lu   last: %s", g_target.cKeys,
                      KeyName(g_target.uLastVk));
    sz[sizeof(sz) - 1] = '\0';
    TextOutA(hdc, 16, 16, sz, n > 0 ? n : 0);
    n = _snprintf(sz, sizeof(sz) - 1, "mouse moves: %lu   sum: %ld, %ld", g_target.cMoves,
                  g_target.lSumX, g_target.lSumY);
    sz[sizeof(sz) - 1] = '\0';
    TextOutA(hdc, 16, 40, sz, n > 0 ? n : 0);
    EndPaint(hwnd, &ps);
}

static void LogLine(const char *pszFormat, ...)
{
    char szLine[512];
    LARGE_INTEGER li;
    va_list args;
    int n;
    DWORD cbWritten;

    if (g_target.hLog == INVALID_HANDLE_VALUE)
        return;
    QueryPerformanceCounter(&li);
    n = _snprintf(szLine, sizeof(szLine) - 2, "%I64d ", li.QuadPart);
    if (n < 0)
        return;
    va_start(args, pszFormat);
    int m = _vsnprintf(szLine + n, sizeof(szLine) - 2 - n, pszFormat, args);
    va_end(args);
    if (m < 0)
        m = (int)(sizeof(szLine) - 2 - n);
    n += m;
    szLine[n++] = '\r';
    szLine[n++] = '\n';
    WriteFile(g_target.hLog, szLine, n, &cbWritten, NULL);
}

/* "/name value" pairs; a value may be quoted. */
static const char *NextToken(const char *p, char *pszOut, size_t cchOut)
{
    size_t n = 0;
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p == '"') {
        p++;
        while (*p && *p != '"') {
            if (n + 1 < cchOut)
                pszOut[n++] = *p;
            p++;
        }
        if (*p == '"')
            p++;
    } else {
        while (*p && *p != ' ' && *p != '\t') {
            if (n + 1 < cchOut)
                pszOut[n++] = *p;
            p++;
        }
    }
    pszOut[n] = '\0';
    return p;
}

static BOOL GetEnvText(const char *pszName, char *pszOut, DWORD cchOut)
{
    DWORD cch = GetEnvironmentVariableA(pszName, pszOut, cchOut);
    return cch > 0 && cch < cchOut;
}

static void ParseCommandLine(const char *p)
{
    char szName[64];
    char szValue[260];
    char szLog[260] = "";

    lstrcpynA(g_target.szTitle, "Feedtarget", sizeof(g_target.szTitle));
    /* Started by Feedrun with a bare path: the settings come from the
     * environment it inherits; the command line overrides them. */
    if (GetEnvText("FEEDTARGET_LOG", szValue, sizeof(szValue)))
        lstrcpynA(szLog, szValue, sizeof(szLog));
    if (GetEnvText("FEEDTARGET_EXIT", szValue, sizeof(szValue)))
        g_target.dwExitMs = strtoul(szValue, NULL, 10);
    if (GetEnvText("FEEDTARGET_BUSY", szValue, sizeof(szValue)))
        g_target.dwBusyMs = strtoul(szValue, NULL, 10);
    while (*(p = NextToken(p, szName, sizeof(szName))) != '\0' || szName[0] != '\0') {
        if (szName[0] == '\0')
            break;
        p = NextToken(p, szValue, sizeof(szValue));
        if (lstrcmpiA(szName, "/log") == 0)
            lstrcpynA(szLog, szValue, sizeof(szLog));
        else if (lstrcmpiA(szName, "/title") == 0)
            lstrcpynA(g_target.szTitle, szValue, sizeof(g_target.szTitle));
        else if (lstrcmpiA(szName, "/exit") == 0)
            g_target.dwExitMs = strtoul(szValue, NULL, 10);
        else if (lstrcmpiA(szName, "/busy") == 0)
            g_target.dwBusyMs = strtoul(szValue, NULL, 10);
    }
    g_target.hLog = INVALID_HANDLE_VALUE;
    if (szLog[0] != '\0') {
        g_target.hLog = CreateFileA(szLog, FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    }
}

static void RegisterRawInput(HWND hwnd)
{
    RAWINPUTDEVICE aDevices[2];
    aDevices[0].usUsagePage = 1;
    aDevices[0].usUsage = 2;      /* mouse */
    aDevices[0].dwFlags = 0;
    aDevices[0].hwndTarget = hwnd;
    aDevices[1].usUsagePage = 1;
    aDevices[1].usUsage = 6;      /* keyboard */
    aDevices[1].dwFlags = 0;
    aDevices[1].hwndTarget = hwnd;
    if (!RegisterRawInputDevices(aDevices, 2, sizeof(RAWINPUTDEVICE)))
        LogLine("rawinput unavailable %lu", GetLastError());
}

static void OnRawInput(LPARAM lParam)
{
    RAWINPUT raw;
    UINT cb = sizeof(raw);

    if (GetRawInputData((HRAWINPUT)lParam, RID_INPUT, &raw, &cb, sizeof(RAWINPUTHEADER)) == (UINT)-1)
        return;
    if (raw.header.dwType == RIM_TYPEMOUSE) {
        LogLine("raw mouse %ld %ld %u dev %p", raw.data.mouse.lLastX, raw.data.mouse.lLastY,
                (unsigned)raw.data.mouse.usFlags, raw.header.hDevice);
        g_target.cMoves++;
        g_target.lSumX += raw.data.mouse.lLastX;
        g_target.lSumY += raw.data.mouse.lLastY;
        InvalidateRect(g_target.hwnd, NULL, TRUE);
    } else if (raw.header.dwType == RIM_TYPEKEYBOARD) {
        LogLine("raw key %s 0x%02X", (raw.data.keyboard.Flags & RI_KEY_BREAK) ? "up" : "down",
                (unsigned)raw.data.keyboard.VKey);
    }
}

static void OnMouseMove(void)
{
    POINT pt;
    if (!GetCursorPos(&pt))
        return;
    if (g_target.bHavePoint && (pt.x != g_target.ptLast.x || pt.y != g_target.ptLast.y))
        LogLine("cursor %ld %ld", pt.x - g_target.ptLast.x, pt.y - g_target.ptLast.y);
    g_target.ptLast = pt;
    g_target.bHavePoint = TRUE;
}

static LRESULT CALLBACK TargetWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        LogLine("key down 0x%02X", (unsigned)wParam);
        g_target.cKeys++;
        g_target.uLastVk = (UINT)wParam;
        InvalidateRect(hwnd, NULL, TRUE);
        return 0;
    case WM_KEYUP:
        LogLine("key up 0x%02X", (unsigned)wParam);
        return 0;
    case WM_INPUT:
        OnRawInput(lParam);
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove();
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == FEEDTARGET_TIMER_EXIT)
            DestroyWindow(hwnd);
        return 0;
    case FEEDTARGET_WM_FRONT:
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nCmdShow)
{
    WNDCLASSA wc;
    HWND hwnd;
    MSG msg;
    char szDir[MAX_PATH];
    char szImage[MAX_PATH];

    ParseCommandLine(lpCmdLine);
    LogLine("start %lu", GetCurrentProcessId());
    szDir[0] = '\0';
    GetCurrentDirectoryA(sizeof(szDir), szDir);
    LogLine("cwd %s", szDir);
    szImage[0] = '\0';
    GetModuleFileNameA(NULL, szImage, sizeof(szImage));
    szImage[sizeof(szImage) - 1] = '\0';
    LogLine("image %s", szImage);
    LogLine("cmdline %s", GetCommandLineA());

    if (g_target.dwBusyMs)
        Sleep(g_target.dwBusyMs);

    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = TargetWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = FEEDTARGET_CLASS;
    RegisterClassA(&wc);
    hwnd = CreateWindowA(FEEDTARGET_CLASS, g_target.szTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         100, 100, 400, 300, NULL, NULL, hInstance, NULL);
    if (hwnd == NULL)
        return 1;
    g_target.hwnd = hwnd;
    RegisterRawInput(hwnd);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    if (g_target.dwExitMs)
        SetTimer(hwnd, FEEDTARGET_TIMER_EXIT, g_target.dwExitMs, NULL);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    LogLine("end");
    if (g_target.hLog != INVALID_HANDLE_VALUE)
        CloseHandle(g_target.hLog);
    return 0;
}
