/*
 * Tiltdesk.exe: the setting console. One modal property sheet whose pages
 * come from the page plug-ins registered below
 * HKLM "SOFTWARE\Zelvar\Tiltkit\Property" (see pageplugin.h), in ascending
 * key order, with a 28-pixel band painted across the top of the sheet.
 *
 * Command line: empty, "dddd" (first page of the plug-in with that key) or
 * "dddd d" (that plug-in's page with the 0-based index d). One console at a
 * time: a second start ends silently while the mutex exists.
 */
#include <windows.h>
#include <commctrl.h>
#include <stdarg.h>

#include "common/bgprogram.h"
#include "common/errorbox.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "common/trace.h"
#include "console/desklogic.h"
#include "console/pageplugin.h"
#include "resource.h"

#define TILTDESK_MUTEX_NAME   "TILTDESK"
#define TILTDESK_MAX_PAGES    260       /* a sheet holds at most 259 pages */
#define HEADER_HEIGHT         28
#define HEADER_LEFT_MAX       280       /* widest left image the band shows */
#define HEADER_RIGHT_WIDTH    80

/* Process-wide state of the console. */
typedef struct TILTDESK_GLOBALS {
    HINSTANCE hInstance;
    HANDLE hMutex;
    HBITMAP hbmLeft;
    HBITMAP hbmFill;
    HBITMAP hbmRight;
    WNDPROC pfnPrevDlgProc;     /* the sheet's own dialog procedure */
} TILTDESK_GLOBALS;

static TILTDESK_GLOBALS g_stDesk;

/* ------------------------------------------------------------------ */
/* Error box                                                           */

static void ShowErrorMessage(HWND hwndOwner, UINT idText, ...)
{
    va_list args;

    /* Shown only before the sheet exists, so it never has an owner. */
    va_start(args, idText);
    ShowErrorBoxV(g_stDesk.hInstance, IDS_ERROR_CAPTION, NULL, idText,
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

/* ------------------------------------------------------------------ */
/* Registry entries                                                    */

static int IsAnsiLeadByte(unsigned char ch)
{
    return IsDBCSLeadByte(ch) ? 1 : 0;
}

/* Value types are not examined; a value longer than 259 characters is
 * refused. */
static BOOL ReadTextValue(HKEY hKey, const char *pszValue, char *pszOut, DWORD cbOut)
{
    LONG lResult = RegReadText(hKey, pszValue, pszOut, cbOut, REGREAD_REFUSE_FULL);

    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in GetTiltkitData().\nReturn Value %ld", lResult);
        return FALSE;
    }
    return TRUE;
}

/* The number of subkeys with a valid key name. */
static UINT GetTiltkitNum(void)
{
    HKEY hKey = NULL;
    char szName[TILTDESK_TEXT_SIZE];
    DWORD dwIndex;
    DWORD cchName;
    UINT cEntries = 0;
    LONG lResult;

    lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_PROPERTY, 0, KEY_READ, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in GetTiltkitNum().\nReturn Value %d", (int)lResult);
        return 0;
    }
    for (dwIndex = 0;; dwIndex++) {
        cchName = ARRAYSIZE(szName);
        if (RegEnumKeyExA(hKey, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (IsTiltkitKeyName(szName, IsAnsiLeadByte))
            cEntries++;
    }
    RegCloseKey(hKey);
    return cEntries;
}

/* Checks one subkey name and reads its entry. */
static BOOL GetTiltkitData(HKEY hKey, const char *pszName, char *pszDisplayName,
                           char *pszDllFileName, UINT32 *puKeyNumber)
{
    HKEY hSubKey = NULL;
    BOOL bResult = FALSE;
    LONG lResult;

    if (!IsTiltkitKeyName(pszName, IsAnsiLeadByte))
        return FALSE;
    *puKeyNumber = TiltkitKeyNumber(pszName);

    lResult = RegOpenKeyExA(hKey, pszName, 0, KEY_READ, &hSubKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in GetTiltkitData().\nReturn Value %d", (int)lResult);
        return FALSE;
    }
    if (ReadTextValue(hSubKey, PAGEPLUGIN_VAL_NAME, pszDisplayName, TILTDESK_TEXT_SIZE) &&
        ReadTextValue(hSubKey, PAGEPLUGIN_VAL_DLLFILENAME, pszDllFileName, TILTDESK_TEXT_SIZE))
        bResult = TRUE;
    RegCloseKey(hSubKey);
    return bResult;
}

/* Fills all cEntries entries from the registry and sorts them. */
static BOOL GetTiltkitInfo(TILTKITENTRY *pEntries, UINT cEntries)
{
    HKEY hKey = NULL;
    char szName[TILTDESK_TEXT_SIZE];
    char szDisplayName[TILTDESK_TEXT_SIZE];
    char szDllFileName[TILTDESK_TEXT_SIZE];
    UINT32 uKeyNumber;
    DWORD dwIndex;
    DWORD cchName;
    UINT cFilled = 0;
    LONG lResult;

    lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_PROPERTY, 0, KEY_READ, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in GetTiltkitInfo().\nReturn Value %d", (int)lResult);
        return FALSE;
    }
    for (dwIndex = 0;; dwIndex++) {
        cchName = ARRAYSIZE(szName);
        if (RegEnumKeyExA(hKey, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (!GetTiltkitData(hKey, szName, szDisplayName, szDllFileName, &uKeyNumber))
            continue;
        if (cFilled == cEntries)
            break;
        pEntries[cFilled].uKeyNumber = uKeyNumber;
        lstrcpynA(pEntries[cFilled].szKeyName, szName, TILTDESK_KEYNAME_SIZE);
        lstrcpynA(pEntries[cFilled].szDllFileName, szDllFileName, TILTDESK_TEXT_SIZE);
        lstrcpynA(pEntries[cFilled].szName, szDisplayName, TILTDESK_TEXT_SIZE);
        cFilled++;
    }
    RegCloseKey(hKey);

    /* A four-digit key without readable values fails the whole console. */
    if (cFilled != cEntries)
        return FALSE;
    SortTiltkitEntries(pEntries, cEntries);
    return TRUE;
}

/* ------------------------------------------------------------------ */
/* Plug-ins                                                            */

/* Loads one plug-in, asks for its page count and unloads it; 0 on failure
 * (its message has been shown). */
static int GetPropPageNum(const char *pszDllFileName, const char *pszDisplayName)
{
    HMODULE hModule;
    PFN_GETPROPERTYPAGENUMBER pfnGetPropertyPageNumber;
    int nPages;

    hModule = LoadLibraryA(pszDllFileName);
    if (hModule == NULL) {
        TRACE("LoadLibrary() Failed in GetPropPageNum().\nGetLastError Report %d", (int)GetLastError());
        ShowErrorMessage(NULL, IDS_PLUGIN_LOAD, pszDisplayName);
        return 0;
    }
    pfnGetPropertyPageNumber =
        (PFN_GETPROPERTYPAGENUMBER)(void (*)(void))GetProcAddress(hModule, PAGEPLUGIN_EXPORT_PAGENUMBER);
    if (pfnGetPropertyPageNumber == NULL) {
        TRACE("GetProcAddress() Failed in GetPropPageNum().\nGetLastError Report %d", (int)GetLastError());
        FreeLibrary(hModule);
        ShowErrorMessage(NULL, IDS_PLUGIN_INFO, pszDisplayName);
        return 0;
    }
    nPages = pfnGetPropertyPageNumber();
    FreeLibrary(hModule);

    if (nPages < PAGEPLUGIN_MIN_PAGES || nPages > PAGEPLUGIN_MAX_PAGES) {
        TRACE("GetPropPageNum() return invalid number.(%d)\n", nPages);
        ShowErrorMessage(NULL, IDS_PLUGIN_INFO, pszDisplayName);
        return 0;
    }
    return nPages;
}

/* Page counts of all entries. Returns the total (0 after a failure, whose
 * message has been shown) and, for a requested key, its start page. */
static UINT CountPages(TILTKITENTRY *pEntries, UINT cEntries, const char *pszRequestKey,
                       UINT uRequestPage, BOOL bRequest, UINT *puStartPage)
{
    UINT cTotal = 0;
    BOOL bFound = FALSE;
    UINT i;

    for (i = 0; i < cEntries; i++) {
        int nPages = GetPropPageNum(pEntries[i].szDllFileName, pEntries[i].szName);
        if (nPages == 0)
            return 0;
        if (bRequest && !bFound && lstrcmpiA(pEntries[i].szKeyName, pszRequestKey) == 0) {
            if (uRequestPage >= (UINT)nPages) {
                ShowErrorMessage(NULL, IDS_BAD_PAGE);
                return 0;
            }
            *puStartPage = cTotal + uRequestPage;
            bFound = TRUE;
        }
        pEntries[i].nPageCount = nPages;
        cTotal += (UINT)nPages;
    }
    if (bRequest && !bFound) {
        ShowErrorMessage(NULL, IDS_BAD_ARGUMENT);
        return 0;
    }
    if (!bRequest)
        *puStartPage = 0;
    return cTotal;
}

/* Loads every plug-in for good and has it create its pages, appended to
 * phPages in entry order. On failure (message shown) the modules and pages
 * made so far stay in the arrays for the caller's clean-up. */
static BOOL CreatePages(const TILTKITENTRY *pEntries, UINT cEntries, HMODULE *phModules,
                        HPROPSHEETPAGE *phPages, UINT *pcPages)
{
    PFN_CREATEPROPERTYPAGE pfnCreatePropertyPage;
    UINT i;
    int k;

    for (i = 0; i < cEntries; i++) {
        phModules[i] = LoadLibraryA(pEntries[i].szDllFileName);
        if (phModules[i] == NULL) {
            TRACE("LoadLibrary() Failed in WinMain().\nGetLastError Report %d", (int)GetLastError());
            ShowErrorMessage(NULL, IDS_PLUGIN_LOAD, pEntries[i].szName);
            return FALSE;
        }
        pfnCreatePropertyPage =
            (PFN_CREATEPROPERTYPAGE)(void (*)(void))GetProcAddress(phModules[i], PAGEPLUGIN_EXPORT_CREATEPAGE);
        if (pfnCreatePropertyPage == NULL) {
            TRACE("GetProcAddress() Failed in WinMain().\nGetLastError Report %d", (int)GetLastError());
            ShowErrorMessage(NULL, IDS_PLUGIN_INFO, pEntries[i].szName);
            return FALSE;
        }
        for (k = 0; k < pEntries[i].nPageCount; k++) {
            HPROPSHEETPAGE hPage = pfnCreatePropertyPage((UINT)k);
            if (hPage == NULL) {
                TRACE("(%s) %s return NULL.\n", pEntries[i].szName, PAGEPLUGIN_EXPORT_CREATEPAGE);
                ShowErrorMessage(NULL, IDS_PLUGIN_PAGE, pEntries[i].szName);
                return FALSE;
            }
            phPages[(*pcPages)++] = hPage;
        }
    }
    return TRUE;
}

/* ------------------------------------------------------------------ */
/* Header band                                                         */

static int BitmapWidth(HBITMAP hbm)
{
    BITMAP bm;

    if (GetObjectA(hbm, sizeof(bm), &bm) != sizeof(bm))
        return 0;
    return bm.bmWidth;
}

/* Draws one bitmap with StretchBlt, the previous selection put back. */
static void BlitBitmap(HDC hdc, HDC hdcMem, HBITMAP hbm, int x, int cx, int cxSource)
{
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);

    if (hOld == NULL)
        return;
    StretchBlt(hdc, x, 0, cx, HEADER_HEIGHT, hdcMem, 0, 0, cxSource, HEADER_HEIGHT, SRCCOPY);
    SelectObject(hdcMem, hOld);
}

static void PaintHeader(HWND hwndSheet)
{
    PAINTSTRUCT ps;
    HDC hdc;
    HDC hdcMem;
    RECT rcClient;
    int cxLeft;
    int cxRight;

    hdc = BeginPaint(hwndSheet, &ps);
    if (hdc == NULL)
        return;
    hdcMem = CreateCompatibleDC(hdc);
    if (hdcMem == NULL) {
        EndPaint(hwndSheet, &ps);
        return;
    }
    GetClientRect(hwndSheet, &rcClient);

    /* The images are drawn at their own width (at most 280 and 80 pixels):
     * never from outside a bitmap. */
    cxLeft = BitmapWidth(g_stDesk.hbmLeft);
    if (cxLeft > HEADER_LEFT_MAX)
        cxLeft = HEADER_LEFT_MAX;
    cxRight = BitmapWidth(g_stDesk.hbmRight);
    if (cxRight > HEADER_RIGHT_WIDTH)
        cxRight = HEADER_RIGHT_WIDTH;

    BlitBitmap(hdc, hdcMem, g_stDesk.hbmFill, 0, rcClient.right, 1);
    BlitBitmap(hdc, hdcMem, g_stDesk.hbmLeft, 0, cxLeft, cxLeft);
    BlitBitmap(hdc, hdcMem, g_stDesk.hbmRight, rcClient.right - cxRight, cxRight, cxRight);

    DeleteDC(hdcMem);
    EndPaint(hwndSheet, &ps);
}

static void DeleteHeaderBitmaps(void)
{
    if (g_stDesk.hbmLeft)
        DeleteObject(g_stDesk.hbmLeft);
    if (g_stDesk.hbmFill)
        DeleteObject(g_stDesk.hbmFill);
    if (g_stDesk.hbmRight)
        DeleteObject(g_stDesk.hbmRight);
    g_stDesk.hbmLeft = g_stDesk.hbmFill = g_stDesk.hbmRight = NULL;
}

static HBITMAP LoadHeaderBitmap(UINT idBitmap)
{
    HBITMAP hbm = (HBITMAP)LoadImageA(g_stDesk.hInstance, MAKEINTRESOURCEA(idBitmap),
                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (hbm == NULL)
        TRACE("LoadImage() Failed in PropSheetCallbackProc().\nError Report %d", (int)GetLastError());
    return hbm;
}

static INT_PTR OnDestroySheet(HWND hwndSheet, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnPrev = g_stDesk.pfnPrevDlgProc;

    DeleteHeaderBitmaps();
    if (pfnPrev == NULL)
        return 0;
    SetWindowLongPtrA(hwndSheet, DWLP_DLGPROC, (LONG_PTR)pfnPrev);
    g_stDesk.pfnPrevDlgProc = NULL;
    /* The sheet still sees its own WM_DESTROY: that is where it releases
     * the pages, while the plug-ins are loaded. */
    return CallWindowProcA(pfnPrev, hwndSheet, WM_DESTROY, wParam, lParam);
}

/* F1 on the sheet's own controls (the tabs, OK, Cancel): the page shown
 * answers it as if it had been pressed on the page. A request that comes up
 * from the page itself has been there already and goes on as before. */
static BOOL OnHelpSheet(HWND hwndSheet, const HELPINFO *phi)
{
    HWND hwndPage = (HWND)SendMessageA(hwndSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    HWND hwndItem;
    HELPINFO hi;

    if (hwndPage == NULL || phi == NULL || phi->iContextType != HELPINFO_WINDOW)
        return FALSE;
    hwndItem = (HWND)phi->hItemHandle;
    if (hwndItem == hwndPage || IsChild(hwndPage, hwndItem))
        return FALSE;
    hi = *phi;
    hi.hItemHandle = hwndPage;
    hi.iCtrlId = GetDlgCtrlID(hwndPage);
    SendMessageA(hwndPage, WM_HELP, 0, (LPARAM)&hi);
    SetWindowLongPtrA(hwndSheet, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

static INT_PTR CALLBACK HeaderDlgProc(HWND hwndSheet, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DESTROY:
        return OnDestroySheet(hwndSheet, wParam, lParam);
    case WM_HELP:
        if (OnHelpSheet(hwndSheet, (const HELPINFO *)lParam))
            return TRUE;
        break;
    case WM_PAINT:
        if (g_stDesk.hbmLeft && g_stDesk.hbmFill && g_stDesk.hbmRight)
            PaintHeader(hwndSheet);
        break;
    }
    if (g_stDesk.pfnPrevDlgProc == NULL)
        return 0;
    return CallWindowProcA(g_stDesk.pfnPrevDlgProc, hwndSheet, uMsg, wParam, lParam);
}

/* Makes the sheet 28 pixels taller, moves its whole content down and puts
 * the band painting in front of the sheet's dialog procedure. */
static void OnSheetInitialized(HWND hwndSheet)
{
    RECT rc;
    POINT pt;
    HWND hwndChild;

    GetWindowRect(hwndSheet, &rc);
    SetWindowPos(hwndSheet, NULL, rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top + HEADER_HEIGHT, SWP_NOZORDER);

    for (hwndChild = GetWindow(hwndSheet, GW_CHILD); hwndChild != NULL;
         hwndChild = GetWindow(hwndChild, GW_HWNDNEXT)) {
        GetWindowRect(hwndChild, &rc);
        pt.x = rc.left;
        pt.y = rc.top;
        ScreenToClient(hwndSheet, &pt);
        SetWindowPos(hwndChild, NULL, pt.x, pt.y + HEADER_HEIGHT, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    g_stDesk.hbmLeft = LoadHeaderBitmap(IDB_HEADER_LEFT);
    g_stDesk.hbmFill = LoadHeaderBitmap(IDB_HEADER_FILL);
    g_stDesk.hbmRight = LoadHeaderBitmap(IDB_HEADER_RIGHT);

    g_stDesk.pfnPrevDlgProc =
        (WNDPROC)SetWindowLongPtrA(hwndSheet, DWLP_DLGPROC, (LONG_PTR)HeaderDlgProc);
}

static int CALLBACK PropSheetCallbackProc(HWND hwndSheet, UINT uMsg, LPARAM lParam)
{
    switch (uMsg) {
    case PSCB_INITIALIZED:
        OnSheetInitialized(hwndSheet);
        break;
    }
    return 0;
}

static void ShowSheet(HPROPSHEETPAGE *phPages, UINT cPages, UINT uStartPage)
{
    INITCOMMONCONTROLSEX icc;
    PROPSHEETHEADERA psh;
    char szCaption[TILTKIT_TEXT_MAX];

    /* The classes the pages may use (trackbars among them). */
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);

    szCaption[0] = '\0';
    LoadStringA(g_stDesk.hInstance, IDS_SHEET_CAPTION, szCaption, ARRAYSIZE(szCaption));

    ZeroMemory(&psh, sizeof(psh));
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    psh.hwndParent = NULL;
    psh.hInstance = g_stDesk.hInstance;
    psh.pszCaption = szCaption;
    psh.nPages = cPages;
    psh.nStartPage = uStartPage;
    psh.phpage = phPages;
    psh.pfnCallback = PropSheetCallbackProc;
    PropertySheetA(&psh);
}

/* ------------------------------------------------------------------ */

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    TILTKITENTRY *pEntries = NULL;
    HPROPSHEETPAGE *phPages = NULL;
    HMODULE *phModules = NULL;
    char szRequestKey[TILTDESK_KEYNAME_SIZE];
    unsigned uRequestPage = 0;
    BOOL bRequest = FALSE;
    UINT cEntries;
    UINT cPages = 0;
    UINT cCreated = 0;
    UINT uStartPage = 0;
    UINT i;

    g_stDesk.hInstance = hInstance;
    szRequestKey[0] = '\0';

    /* Counted before anything else, also before the single-instance check. */
    cEntries = GetTiltkitNum();

    g_stDesk.hMutex = ClaimSingleInstance(TILTDESK_MUTEX_NAME);
    if (g_stDesk.hMutex == NULL)
        goto End;

    if (lpCmdLine != NULL && lpCmdLine[0] != '\0') {
        if (!ParsePageArgument(lpCmdLine, szRequestKey, sizeof(szRequestKey), &uRequestPage,
                               IsAnsiLeadByte)) {
            ShowErrorMessage(NULL, IDS_BAD_ARGUMENT);
            goto End;
        }
        bRequest = TRUE;
    }

    if (cEntries == 0) {
        ShowErrorMessage(NULL, IDS_NO_PLUGIN_DATA);
        goto End;
    }
    pEntries = (TILTKITENTRY *)LocalAlloc(LPTR, cEntries * sizeof(TILTKITENTRY));
    if (pEntries == NULL) {
        TRACE("LocalAlloc() Failed in WinMain().\nGetLastError Report %d", (int)GetLastError());
        ShowErrorMessage(NULL, IDS_NO_MEMORY);
        goto End;
    }
    if (!GetTiltkitInfo(pEntries, cEntries)) {
        ShowErrorMessage(NULL, IDS_NO_PLUGIN_DATA);
        goto End;
    }

    cPages = CountPages(pEntries, cEntries, szRequestKey, uRequestPage, bRequest, &uStartPage);
    if (cPages == 0)
        goto End;
    if (cPages >= TILTDESK_MAX_PAGES) {
        ShowErrorMessage(NULL, IDS_TOO_MANY_PAGES);
        goto End;
    }
    phPages = (HPROPSHEETPAGE *)LocalAlloc(LPTR, cPages * sizeof(HPROPSHEETPAGE));
    if (phPages == NULL) {
        TRACE("LocalAlloc() Failed in WinMain().\nGetLastError Report %d", (int)GetLastError());
        ShowErrorMessage(NULL, IDS_NO_MEMORY);
        goto End;
    }
    phModules = (HMODULE *)LocalAlloc(LPTR, cEntries * sizeof(HMODULE));
    if (phModules == NULL) {
        TRACE("LocalAlloc() Failed in WinMain().\nGetLastError Report %d", (int)GetLastError());
        ShowErrorMessage(NULL, IDS_NO_MEMORY);
        goto End;
    }

    if (!CreatePages(pEntries, cEntries, phModules, phPages, &cCreated))
        goto End;

    /* From here the sheet owns the pages and destroys them. */
    ShowSheet(phPages, cPages, uStartPage);
    cCreated = 0;

End:
    /* Pages that never reached a sheet are released while their plug-ins
     * are still loaded. */
    for (i = 0; i < cCreated; i++)
        DestroyPropertySheetPage(phPages[i]);
    if (phPages)
        LocalFree(phPages);
    if (pEntries)
        LocalFree(pEntries);
    if (phModules) {
        for (i = 0; i < cEntries; i++) {
            if (phModules[i])
                FreeLibrary(phModules[i]);
        }
        LocalFree(phModules);
    }
    if (g_stDesk.hMutex)
        CloseHandle(g_stDesk.hMutex);
    return 0;
}
