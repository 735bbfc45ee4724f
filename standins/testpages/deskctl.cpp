/*
 * Deskctl.exe: drives an open setting console from outside, for the tour.
 *   Deskctl wait [ms]   waits until the console's sheet is shown
 *   Deskctl page N      turns the sheet to its page N (0-based)
 *   Deskctl help [ms]   presses F1 on the sheet's tabs and waits for the help
 *                       window it opens; prints the window's title
 *   Deskctl close       presses Cancel and waits until the console is gone
 * Exit code 0 on success, 1 when no console sheet is there.
 */
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>
#include <stdlib.h>

/* The console's sheet caption (UTF-8 here, compared as UTF-16). */
static const char g_szCaptionUtf8[] = u8"Консоль настройки программ акселерометра Zelvar";
static wchar_t g_wszCaption[128];

static BOOL CALLBACK FindSheetProc(HWND hwnd, LPARAM lParam)
{
    wchar_t wsz[128];
    char szClass[16];
    if (!IsWindowVisible(hwnd))
        return TRUE;
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "#32770") != 0)
        return TRUE;
    GetWindowTextW(hwnd, wsz, 128);
    if (lstrcmpW(wsz, g_wszCaption) != 0)
        return TRUE;
    *(HWND *)lParam = hwnd;
    return FALSE;
}

static HWND FindSheet(DWORD dwTimeoutMs)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        HWND hwnd = NULL;
        EnumWindows(FindSheetProc, (LPARAM)&hwnd);
        if (hwnd != NULL || GetTickCount() - dwStart >= dwTimeoutMs)
            return hwnd;
        Sleep(50);
    }
}

/* The help viewer's window of the console's process. */
static HWND WaitHelpWindow(HWND hwndSheet, DWORD dwTimeoutMs)
{
    DWORD dwSheetPid = 0, dwPid = 0;
    DWORD dwStart = GetTickCount();
    HWND hwnd;

    GetWindowThreadProcessId(hwndSheet, &dwSheetPid);
    for (;;) {
        for (hwnd = FindWindowExA(NULL, NULL, "HH Parent", NULL); hwnd != NULL;
             hwnd = FindWindowExA(NULL, hwnd, "HH Parent", NULL)) {
            GetWindowThreadProcessId(hwnd, &dwPid);
            if (dwPid == dwSheetPid && IsWindowVisible(hwnd))
                return hwnd;
        }
        if (GetTickCount() - dwStart >= dwTimeoutMs)
            return NULL;
        Sleep(50);
    }
}

int main(int argc, char **argv)
{
    HWND hwndSheet;
    DWORD dwStart;

    MultiByteToWideChar(CP_UTF8, 0, g_szCaptionUtf8, -1, g_wszCaption, 128);
    if (argc < 2) {
        fprintf(stderr, "usage: Deskctl wait [ms] | page N | help [ms] | close\n");
        return 2;
    }
    hwndSheet = FindSheet(lstrcmpiA(argv[1], "wait") == 0 && argc > 2 ? (DWORD)atoi(argv[2]) : 10000);
    if (hwndSheet == NULL) {
        printf("no console sheet\n");
        return 1;
    }
    if (lstrcmpiA(argv[1], "wait") == 0) {
        printf("console sheet shown\n");
        return 0;
    }
    if (lstrcmpiA(argv[1], "page") == 0 && argc > 2) {
        SendMessageA(hwndSheet, PSM_SETCURSEL, (WPARAM)atoi(argv[2]), 0);
        return 0;
    }
    if (lstrcmpiA(argv[1], "help") == 0) {
        wchar_t wszTitle[256];
        char szTitle[512];
        HWND hwndHelp;
        /* WM_KEYF1 is what a window gets for the F1 key; the tab control
         * passes the help request up to the sheet. */
        PostMessageA(GetDlgItem(hwndSheet, 0x3020), 0x004D, 0, 0);
        hwndHelp = WaitHelpWindow(hwndSheet, argc > 2 ? (DWORD)atoi(argv[2]) : 15000);
        if (hwndHelp == NULL) {
            printf("no help window\n");
            return 1;
        }
        GetWindowTextW(hwndHelp, wszTitle, 256);
        WideCharToMultiByte(CP_UTF8, 0, wszTitle, -1, szTitle, sizeof(szTitle), NULL, NULL);
        printf("help window: %s\n", szTitle);
        return 0;
    }
    if (lstrcmpiA(argv[1], "close") == 0) {
        /* From another process the button press has to be posted. */
        PostMessageA(hwndSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        dwStart = GetTickCount();
        while (IsWindow(hwndSheet) && GetTickCount() - dwStart < 5000)
            Sleep(50);
        printf(IsWindow(hwndSheet) ? "console still open\n" : "console closed\n");
        return IsWindow(hwndSheet) ? 1 : 0;
    }
    fprintf(stderr, "unknown command %s\n", argv[1]);
    return 2;
}
