/*
 * Quadrix.exe: a small launcher host for menu plug-ins, standing in for the
 * maker's pop-up launcher. Started without arguments it puts an icon into
 * the notification area; a click on it pops up a menu with the item of every
 * plug-in library in the program's folder (icon and text as the plug-in's
 * Quadrix_GetMainMenuInfo fills them) and runs the picked item through its
 * Quadrix_Execute. One host runs at a time.
 *
 * For tests and scripts:
 *   Quadrix.exe /run PLUGIN [/log FILE]   loads one plug-in, prints its
 *       record, runs its item and ends with QUADRIX_EXIT_* (quadrix.h);
 *   Quadrix.exe /list [/log FILE]         prints the items the menu shows.
 * The output (UTF-8) goes to FILE, or else to the standard output.
 */
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include "motionlock/quadlock.h"
#include "motionlock/quadmenu.h"
#include "quadrix.h"

#define QUADRIX_MAX_ITEMS   32
#define IDM_EXIT            1
#define IDM_FIRST_ITEM      100
#define ITEM_ICON           32
#define ITEM_PAD            4

typedef struct QUADRIXITEM {
    HMODULE hModule;
    PFN_QUADRIX_EXECUTE pfnExecute;
    HICON hIcon;
    LONG lWord260;
    LONG lWord264;
    WCHAR szText[QUADMENU_CCH_TEXT];
    WCHAR szPath[MAX_PATH];
} QUADRIXITEM;

typedef struct QUADRIXHOST {
    HWND hwnd;
    UINT uTaskbarCreated;
    BOOL bTrayIcon;
    HFONT hMenuFont;
    HANDLE hOut;
    int nItems;
    QUADRIXITEM aItems[QUADRIX_MAX_ITEMS];
} QUADRIXHOST;

static QUADRIXHOST g_Host;

/* ---- output of the command-line modes ---- */

static void Print(const WCHAR *pszFormat, ...)
{
    WCHAR szLine[600];
    char szUtf8[1800];
    va_list args;
    int cb;
    int cch;
    DWORD cbWritten;

    if (g_Host.hOut == NULL || g_Host.hOut == INVALID_HANDLE_VALUE)
        return;
    va_start(args, pszFormat);
    wvnsprintfW(szLine, ARRAYSIZE(szLine) - 2, pszFormat, args);
    va_end(args);
    szLine[ARRAYSIZE(szLine) - 3] = L'\0';
    cch = lstrlenW(szLine);         /* two characters were kept free for the line end */
    szLine[cch] = L'\r';
    szLine[cch + 1] = L'\n';
    szLine[cch + 2] = L'\0';
    cb = WideCharToMultiByte(CP_UTF8, 0, szLine, -1, szUtf8, sizeof(szUtf8), NULL, NULL);
    if (cb > 1)
        WriteFile(g_Host.hOut, szUtf8, (DWORD)(cb - 1), &cbWritten, NULL);
}

/* ---- plug-ins ---- */

static LONG ReadLong(const BYTE *pb)
{
    return (LONG)((DWORD)pb[0] | ((DWORD)pb[1] << 8) | ((DWORD)pb[2] << 16) | ((DWORD)pb[3] << 24));
}

/* Loads one plug-in and asks it for its item. A library without both
 * exports is not a plug-in: it is freed again. */
static BOOL LoadPlugin(const WCHAR *pszPath, QUADRIXITEM *pItem)
{
    PFN_QUADRIX_GETMAINMENUINFO pfnGetInfo;
    BYTE abRecord[512];
    int i;

    ZeroMemory(pItem, sizeof(*pItem));
    pItem->hModule = LoadLibraryW(pszPath);
    if (pItem->hModule == NULL)
        return FALSE;
    pfnGetInfo = (PFN_QUADRIX_GETMAINMENUINFO)(void *)GetProcAddress(pItem->hModule, "Quadrix_GetMainMenuInfo");
    pItem->pfnExecute = (PFN_QUADRIX_EXECUTE)(void *)GetProcAddress(pItem->hModule, "Quadrix_Execute");
    if (pfnGetInfo == NULL || pItem->pfnExecute == NULL) {
        FreeLibrary(pItem->hModule);
        ZeroMemory(pItem, sizeof(*pItem));
        return FALSE;
    }
    /* More room than the record needs: a plug-in that writes a little too
     * far does not hit the host's stack. */
    ZeroMemory(abRecord, sizeof(abRecord));
    pfnGetInfo(abRecord);
    pItem->hIcon = (HICON)(UINT_PTR)(DWORD)ReadLong(abRecord + QUADMENU_OFS_ICON);
    for (i = 0; i < QUADMENU_CCH_TEXT - 1; i++) {
        const BYTE *pb = abRecord + QUADMENU_OFS_TEXT + 2 * i;
        pItem->szText[i] = (WCHAR)(pb[0] | (pb[1] << 8));
        if (pItem->szText[i] == L'\0')
            break;
    }
    pItem->szText[QUADMENU_CCH_TEXT - 1] = L'\0';
    pItem->lWord260 = ReadLong(abRecord + QUADMENU_OFS_RESERVED1);
    pItem->lWord264 = ReadLong(abRecord + QUADMENU_OFS_RESERVED2);
    lstrcpynW(pItem->szPath, pszPath, ARRAYSIZE(pItem->szPath));
    return TRUE;
}

static void FreePlugin(QUADRIXITEM *pItem)
{
    if (pItem->hIcon != NULL)
        DestroyIcon(pItem->hIcon);
    if (pItem->hModule != NULL)
        FreeLibrary(pItem->hModule);
    ZeroMemory(pItem, sizeof(*pItem));
}

/* The program's own folder with a backslash, or FALSE. */
static BOOL GetHostFolder(WCHAR *pszDir, DWORD cchDir)
{
    DWORD cch = GetModuleFileNameW(NULL, pszDir, cchDir);
    if (cch == 0 || cch >= cchDir)
        return FALSE;
    PathRemoveFileSpecW(pszDir);
    return PathAddBackslashW(pszDir) != NULL;
}

/* Every *.dll of the host's folder that is a plug-in, in name order. */
static void LoadFolderPlugins(void)
{
    WCHAR szDir[MAX_PATH];
    WCHAR szPattern[MAX_PATH];
    WCHAR szPath[MAX_PATH];
    WCHAR aszNames[QUADRIX_MAX_ITEMS * 2][MAX_PATH];
    WIN32_FIND_DATAW fd;
    HANDLE hFind;
    int nNames = 0;
    int i, j;

    if (!GetHostFolder(szDir, ARRAYSIZE(szDir)))
        return;
    if (wnsprintfW(szPattern, ARRAYSIZE(szPattern), L"%s*.dll", szDir) < 0)
        return;
    hFind = FindFirstFileW(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && nNames < (int)ARRAYSIZE(aszNames))
            lstrcpynW(aszNames[nNames++], fd.cFileName, MAX_PATH);
    } while (FindNextFileW(hFind, &fd));
    FindClose(hFind);

    for (i = 1; i < nNames; i++) {
        for (j = i; j > 0 && lstrcmpiW(aszNames[j - 1], aszNames[j]) > 0; j--) {
            WCHAR szSwap[MAX_PATH];
            lstrcpynW(szSwap, aszNames[j], MAX_PATH);
            lstrcpynW(aszNames[j], aszNames[j - 1], MAX_PATH);
            lstrcpynW(aszNames[j - 1], szSwap, MAX_PATH);
        }
    }
    for (i = 0; i < nNames && g_Host.nItems < QUADRIX_MAX_ITEMS; i++) {
        if (wnsprintfW(szPath, ARRAYSIZE(szPath), L"%s%s", szDir, aszNames[i]) < 0)
            continue;
        if (LoadPlugin(szPath, &g_Host.aItems[g_Host.nItems]))
            g_Host.nItems++;
    }
}

static void FreeAllPlugins(void)
{
    int i;
    for (i = 0; i < g_Host.nItems; i++)
        FreePlugin(&g_Host.aItems[i]);
    g_Host.nItems = 0;
}

static void PrintItem(const QUADRIXITEM *pItem)
{
    ICONINFO ii;
    BITMAP bm;
    int cx = 0, cy = 0;

    if (pItem->hIcon != NULL && GetIconInfo(pItem->hIcon, &ii)) {
        if (ii.hbmColor != NULL && GetObjectW(ii.hbmColor, sizeof(bm), &bm)) {
            cx = bm.bmWidth;
            cy = bm.bmHeight;
        } else if (ii.hbmMask != NULL && GetObjectW(ii.hbmMask, sizeof(bm), &bm)) {
            cx = bm.bmWidth;
            cy = bm.bmHeight / 2;
        }
        if (ii.hbmColor != NULL)
            DeleteObject(ii.hbmColor);
        if (ii.hbmMask != NULL)
            DeleteObject(ii.hbmMask);
    }
    Print(L"plugin: %s", pItem->szPath);
    if (cx != 0)
        Print(L"icon: %dx%d", cx, cy);
    else
        Print(L"icon: none");
    Print(L"text: %s", pItem->szText);
    Print(L"word 260: %ld", pItem->lWord260);
    Print(L"word 264: %ld", pItem->lWord264);
}

/* ---- the tray icon and its menu ---- */

static BOOL AddTrayIcon(HWND hwnd)
{
    NOTIFYICONDATAW nid;

    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = QUADRIX_TRAY_ID;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = QUADRIX_WM_TRAY;
    nid.hIcon = (HICON)LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    lstrcpynW(nid.szTip, L"Quadrix", ARRAYSIZE(nid.szTip));
    g_Host.bTrayIcon = Shell_NotifyIconW(NIM_ADD, &nid);
    if (nid.hIcon != NULL)
        DestroyIcon(nid.hIcon);
    return g_Host.bTrayIcon;
}

static void RemoveTrayIcon(HWND hwnd)
{
    NOTIFYICONDATAW nid;

    if (!g_Host.bTrayIcon)
        return;
    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = hwnd;
    nid.uID = QUADRIX_TRAY_ID;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    g_Host.bTrayIcon = FALSE;
}

static void RunItem(HWND hwnd, int nItem)
{
    WCHAR szMessage[400];
    LONG lResult = g_Host.aItems[nItem].pfnExecute((DWORD)(UINT_PTR)hwnd);

    if (lResult != 0) {
        wnsprintfW(szMessage, ARRAYSIZE(szMessage),
                   L"Пункт \"%s\" не выполнен (результат %ld).", g_Host.aItems[nItem].szText, lResult);
        MessageBoxW(hwnd, szMessage, L"Quadrix", MB_ICONWARNING | MB_SETFOREGROUND);
    }
}

static void ShowHostMenu(HWND hwnd)
{
    HMENU hMenu = CreatePopupMenu();
    POINT pt;
    int nCmd;
    int i;

    if (hMenu == NULL)
        return;
    for (i = 0; i < g_Host.nItems; i++)
        AppendMenuW(hMenu, MF_OWNERDRAW, IDM_FIRST_ITEM + i, (LPCWSTR)(UINT_PTR)i);
    if (g_Host.nItems == 0)
        AppendMenuW(hMenu, MF_STRING | MF_GRAYED, 0, L"(нет модулей меню)");
    AppendMenuW(hMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(hMenu, MF_STRING, IDM_EXIT, L"Выход");

    GetCursorPos(&pt);
    /* The menu closes when the user clicks elsewhere only if the host's
     * window is in front while it shows. */
    SetForegroundWindow(hwnd);
    nCmd = (int)TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                               pt.x, pt.y, 0, hwnd, NULL);
    PostMessageW(hwnd, WM_NULL, 0, 0);
    DestroyMenu(hMenu);

    if (nCmd == IDM_EXIT)
        DestroyWindow(hwnd);
    else if (nCmd >= IDM_FIRST_ITEM && nCmd < IDM_FIRST_ITEM + g_Host.nItems)
        RunItem(hwnd, nCmd - IDM_FIRST_ITEM);
}

static void OnMeasureItemHost(HWND hwnd, MEASUREITEMSTRUCT *pmis)
{
    HDC hdc;
    HGDIOBJ hOld;
    SIZE size = { 0, 0 };
    const QUADRIXITEM *pItem;

    if (pmis->CtlType != ODT_MENU || pmis->itemData >= (ULONG_PTR)g_Host.nItems)
        return;
    pItem = &g_Host.aItems[pmis->itemData];
    hdc = GetDC(hwnd);
    if (hdc != NULL) {
        hOld = g_Host.hMenuFont ? SelectObject(hdc, g_Host.hMenuFont) : NULL;
        GetTextExtentPoint32W(hdc, pItem->szText, lstrlenW(pItem->szText), &size);
        if (hOld != NULL)
            SelectObject(hdc, hOld);
        ReleaseDC(hwnd, hdc);
    }
    pmis->itemWidth = ITEM_PAD + ITEM_ICON + 3 * ITEM_PAD + size.cx + 4 * ITEM_PAD;
    pmis->itemHeight = ITEM_ICON + 2 * ITEM_PAD;
}

static void OnDrawItemHost(const DRAWITEMSTRUCT *pdis)
{
    const QUADRIXITEM *pItem;
    BOOL bSelected = (pdis->itemState & ODS_SELECTED) != 0;
    RECT rcText = pdis->rcItem;
    HGDIOBJ hOld = NULL;

    if (pdis->CtlType != ODT_MENU || pdis->itemData >= (ULONG_PTR)g_Host.nItems)
        return;
    pItem = &g_Host.aItems[pdis->itemData];
    FillRect(pdis->hDC, &pdis->rcItem, GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (pItem->hIcon != NULL)
        DrawIconEx(pdis->hDC, pdis->rcItem.left + ITEM_PAD,
                   pdis->rcItem.top + (pdis->rcItem.bottom - pdis->rcItem.top - ITEM_ICON) / 2,
                   pItem->hIcon, ITEM_ICON, ITEM_ICON, 0, NULL, DI_NORMAL);
    rcText.left += ITEM_PAD + ITEM_ICON + 3 * ITEM_PAD;
    if (g_Host.hMenuFont != NULL)
        hOld = SelectObject(pdis->hDC, g_Host.hMenuFont);
    SetBkMode(pdis->hDC, TRANSPARENT);
    SetTextColor(pdis->hDC, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(pdis->hDC, pItem->szText, -1, &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (hOld != NULL)
        SelectObject(pdis->hDC, hOld);
}

static BOOL OnCreateHost(HWND hwnd)
{
    NONCLIENTMETRICSW ncm;

    g_Host.hwnd = hwnd;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        g_Host.hMenuFont = CreateFontIndirectW(&ncm.lfMenuFont);
    LoadFolderPlugins();
    /* Without a notification area (some desktops under Wine) the host still
     * runs: its window takes the same notifications. */
    AddTrayIcon(hwnd);
    return TRUE;
}

static void OnDestroyHost(HWND hwnd)
{
    RemoveTrayIcon(hwnd);
    FreeAllPlugins();
    if (g_Host.hMenuFont != NULL) {
        DeleteObject(g_Host.hMenuFont);
        g_Host.hMenuFont = NULL;
    }
    PostQuitMessage(0);
}

static void OnTrayHost(HWND hwnd, LPARAM lParam)
{
    if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU)
        ShowHostMenu(hwnd);
}

static LRESULT CALLBACK HostWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreateHost(hwnd) ? 0 : -1;
    case WM_DESTROY:
        OnDestroyHost(hwnd);
        return 0;
    case QUADRIX_WM_TRAY:
        OnTrayHost(hwnd, lParam);
        return 0;
    case WM_MEASUREITEM:
        OnMeasureItemHost(hwnd, (MEASUREITEMSTRUCT *)lParam);
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItemHost((const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    default:
        if (uMsg == g_Host.uTaskbarCreated && uMsg != 0) {
            g_Host.bTrayIcon = FALSE;
            AddTrayIcon(hwnd);
            return 0;
        }
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}

static int RunTray(HINSTANCE hInstance)
{
    WNDCLASSW wc;
    HANDLE hMutex;
    HWND hwnd;
    MSG msg;
    BOOL bResult;

    hMutex = CreateMutexW(NULL, FALSE, L"" QUADRIX_MUTEX);
    if (hMutex == NULL || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (hMutex != NULL)
            CloseHandle(hMutex);
        return 0;
    }
    g_Host.uTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = L"" QUADRIX_CLASS;
    if (!RegisterClassW(&wc)) {
        CloseHandle(hMutex);
        return 1;
    }
    hwnd = CreateWindowW(L"" QUADRIX_CLASS, L"" QUADRIX_TITLE, WS_OVERLAPPED, 0, 0, 0, 0,
                         NULL, NULL, hInstance, NULL);
    if (hwnd == NULL) {
        CloseHandle(hMutex);
        return 1;
    }
    while ((bResult = GetMessageW(&msg, NULL, 0, 0)) != 0 && bResult != -1) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CloseHandle(hMutex);
    return 0;
}

/* ---- command-line modes ---- */

static int RunOne(const WCHAR *pszPlugin)
{
    WCHAR szDir[MAX_PATH];
    WCHAR szPath[MAX_PATH];
    QUADRIXITEM item;
    LONG lResult;

    /* A bare name is looked for in the host's folder, as the menu does. */
    if (PathIsRelativeW(pszPlugin) && GetHostFolder(szDir, ARRAYSIZE(szDir))) {
        if (wnsprintfW(szPath, ARRAYSIZE(szPath), L"%s%s", szDir, pszPlugin) < 0)
            return QUADRIX_EXIT_USAGE;
    } else {
        lstrcpynW(szPath, pszPlugin, ARRAYSIZE(szPath));
    }
    if (!LoadPlugin(szPath, &item)) {
        Print(L"plugin: %s is not a menu plug-in (error %lu)", szPath, GetLastError());
        return QUADRIX_EXIT_NOPLUGIN;
    }
    PrintItem(&item);
    lResult = item.pfnExecute(0);
    Print(L"execute: %ld", lResult);
    FreePlugin(&item);
    return lResult == 0 ? QUADRIX_EXIT_DONE : QUADRIX_EXIT_FAILED;
}

static int RunList(void)
{
    int i;
    LoadFolderPlugins();
    Print(L"items: %d", g_Host.nItems);
    for (i = 0; i < g_Host.nItems; i++)
        PrintItem(&g_Host.aItems[i]);
    FreeAllPlugins();
    return 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const WCHAR *pszLog = NULL;
    int nResult;
    int i;

    if (argv == NULL)
        return QUADRIX_EXIT_USAGE;
    for (i = 1; i + 1 < argc; i++) {
        if (lstrcmpiW(argv[i], L"/log") == 0)
            pszLog = argv[i + 1];
    }
    if (argc < 2) {
        LocalFree(argv);
        return RunTray(hInstance);
    }
    if (pszLog != NULL)
        g_Host.hOut = CreateFileW(pszLog, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
    else
        g_Host.hOut = GetStdHandle(STD_OUTPUT_HANDLE);

    if (argc >= 3 && lstrcmpiW(argv[1], L"/run") == 0)
        nResult = RunOne(argv[2]);
    else if (lstrcmpiW(argv[1], L"/list") == 0)
        nResult = RunList();
    else
        nResult = QUADRIX_EXIT_USAGE;

    if (pszLog != NULL && g_Host.hOut != INVALID_HANDLE_VALUE)
        CloseHandle(g_Host.hOut);
    LocalFree(argv);
    return nResult;
}
