/*
 * A page plug-in for testing the setting console. One source, built into
 * several libraries that differ only in their exports (.def files); tests
 * copy a library under names of their own so that one process can load it
 * several times as different modules.
 *
 * Each copy reads its behaviour from
 *   HKCU "SOFTWARE\Zelvar\Tiltkit\TestPages\<file name without extension>"
 *   "Pages"     DWORD   what GetPropertyPageNumber returns (default 1)
 *   "Title"     string  page k is titled "<Title> <k>" (default: the file name)
 *   "Title<k>"  string  the title of page k, if present
 *   "NullPage"  DWORD   the index for which CreatePropertyPage returns NULL
 * and appends what happens to it to the string value "Log" there, one word
 * per event: A attach, D detach, N page count asked, C<k> page k created,
 * I<k> page k shown, P<k> page k applied, R<k> page k released.
 *
 * The TestpageHelp variant also exports the help viewer's HtmlHelpA: a test
 * copies it as "hhctrl.ocx" and registers it as the first page, so that the
 * pages loaded after it find it as the viewer. Each call becomes one line of
 * the string value "Help": "topic <address>" for a topic, "popup <text>"
 * for a text popup (the string the caller's module holds), "close" for
 * closing every window, "command <n>" for anything else.
 */
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>
#include <shlwapi.h>
#include <stdio.h>

#include "common/regpaths.h"
#include "console/pageplugin.h"
#include "testpage_res.h"

#define TESTPAGES_REG TILTKIT_REG_ROOT "\\TestPages"

static HINSTANCE g_hInstance;
static char g_aszTitles[PAGEPLUGIN_MAX_PAGES][TILTKIT_TEXT_MAX];

static void ConfigKeyName(char *pszKey, size_t cbKey)
{
    char szPath[MAX_PATH];
    szPath[0] = '\0';
    GetModuleFileNameA(g_hInstance, szPath, ARRAYSIZE(szPath));
    szPath[ARRAYSIZE(szPath) - 1] = '\0';
    PathRemoveExtensionA(szPath);
    _snprintf(pszKey, cbKey, "%s\\%s", TESTPAGES_REG, PathFindFileNameA(szPath));
    pszKey[cbKey - 1] = '\0';
}

static DWORD ReadDword(const char *pszValue, DWORD dwDefault)
{
    char szKey[MAX_PATH];
    DWORD dw = dwDefault;
    DWORD cb = sizeof(dw);
    ConfigKeyName(szKey, sizeof(szKey));
    if (SHGetValueA(HKEY_CURRENT_USER, szKey, pszValue, NULL, &dw, &cb) != ERROR_SUCCESS ||
        cb != sizeof(dw))
        dw = dwDefault;
    return dw;
}

static BOOL ReadString(const char *pszValue, char *pszOut, DWORD cbOut)
{
    char szKey[MAX_PATH];
    DWORD cb = cbOut - 1;
    ConfigKeyName(szKey, sizeof(szKey));
    ZeroMemory(pszOut, cbOut);
    return SHGetValueA(HKEY_CURRENT_USER, szKey, pszValue, NULL, pszOut, &cb) == ERROR_SUCCESS;
}

/* Appends pszText to the string value pszValue: after a space ("Log") or
 * as a line of its own ("Help"). */
static void AppendToValue(const char *pszValue, const char *pszText, BOOL bLine)
{
    char szKey[MAX_PATH];
    char szOld[4096];
    char szNew[4096];
    ConfigKeyName(szKey, sizeof(szKey));
    if (!ReadString(pszValue, szOld, sizeof(szOld)))
        szOld[0] = '\0';
    _snprintf(szNew, sizeof(szNew), "%s%s%s%s", szOld, !bLine && szOld[0] ? " " : "", pszText,
              bLine ? "\n" : "");
    szNew[sizeof(szNew) - 1] = '\0';
    SHSetValueA(HKEY_CURRENT_USER, szKey, pszValue, REG_SZ, szNew, lstrlenA(szNew) + 1);
}

static void AppendLog(const char *pszEvent, int nIndex)
{
    char szEvent[64];
    if (nIndex >= 0)
        _snprintf(szEvent, sizeof(szEvent), "%s%d", pszEvent, nIndex);
    else
        _snprintf(szEvent, sizeof(szEvent), "%s", pszEvent);
    szEvent[sizeof(szEvent) - 1] = '\0';
    AppendToValue("Log", szEvent, FALSE);
}

static void PageTitle(UINT uIndex, char *pszTitle, DWORD cbTitle)
{
    char szValue[16];
    char szBase[TILTKIT_TEXT_MAX];
    _snprintf(szValue, sizeof(szValue), "Title%u", uIndex);
    szValue[sizeof(szValue) - 1] = '\0';
    if (ReadString(szValue, pszTitle, cbTitle))
        return;
    if (!ReadString("Title", szBase, sizeof(szBase))) {
        char szKey[MAX_PATH];
        ConfigKeyName(szKey, sizeof(szKey));
        lstrcpynA(szBase, PathFindFileNameA(szKey), sizeof(szBase));
    }
    _snprintf(pszTitle, cbTitle, "%s %u", szBase, uIndex);
    pszTitle[cbTitle - 1] = '\0';
}

static BOOL OnInitPage(HWND hwndPage, const PROPSHEETPAGEA *psp)
{
    int nIndex = (int)psp->lParam;
    SetWindowLongPtrA(hwndPage, GWLP_USERDATA, (LONG_PTR)nIndex);
    SetDlgItemTextA(hwndPage, IDC_TESTPAGE_TITLE, g_aszTitles[nIndex]);
    AppendLog("I", nIndex);
    return TRUE;
}

static BOOL OnNotifyPage(HWND hwndPage, const NMHDR *pnmh)
{
    if (pnmh->code == PSN_APPLY) {
        AppendLog("P", (int)GetWindowLongPtrA(hwndPage, GWLP_USERDATA));
        SetWindowLongPtrA(hwndPage, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK TestPageDlgProc(HWND hwndPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPage(hwndPage, (const PROPSHEETPAGEA *)lParam);
    case WM_NOTIFY:
        return OnNotifyPage(hwndPage, (const NMHDR *)lParam);
    }
    return FALSE;
}

static UINT CALLBACK TestPageCallback(HWND hwnd, UINT uMsg, LPPROPSHEETPAGEA psp)
{
    if (uMsg == PSPCB_RELEASE)
        AppendLog("R", (int)psp->lParam);
    return 1;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDll, DWORD dwReason, LPVOID pvReserved)
{
    g_hInstance = hinstDll;
    /* Test-only: the log shows how often the console loads the library. */
    if (dwReason == DLL_PROCESS_ATTACH)
        AppendLog("A", -1);
    else if (dwReason == DLL_PROCESS_DETACH && pvReserved == NULL)
        AppendLog("D", -1);
    return TRUE;
}

extern "C" int WINAPI GetPropertyPageNumber(void)
{
    AppendLog("N", -1);
    return (int)ReadDword("Pages", 1);
}

extern "C" HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex)
{
    PROPSHEETPAGEA psp;

    AppendLog("C", (int)uIndex);
    if (uIndex >= PAGEPLUGIN_MAX_PAGES || uIndex == ReadDword("NullPage", 0xFFFFFFFF))
        return NULL;
    PageTitle(uIndex, g_aszTitles[uIndex], sizeof(g_aszTitles[uIndex]));

    ZeroMemory(&psp, sizeof(psp));
    psp.dwSize = sizeof(psp);
    psp.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
    psp.hInstance = g_hInstance;
    psp.pszTemplate = MAKEINTRESOURCEA(IDD_TESTPAGE);
    psp.pfnDlgProc = TestPageDlgProc;
    psp.pszTitle = g_aszTitles[uIndex];
    psp.pfnCallback = TestPageCallback;
    psp.lParam = (LPARAM)uIndex;
    return CreatePropertySheetPageA(&psp);
}

extern "C" HWND WINAPI HtmlHelpA(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    char szLine[1024];
    char szText[512];
    const HH_POPUP *pPopup = (const HH_POPUP *)dwData;

    if (uCommand == HH_DISPLAY_TOPIC) {
        _snprintf(szLine, sizeof(szLine), "topic %s", pszFile ? pszFile : "(null)");
    } else if (uCommand == HH_DISPLAY_TEXT_POPUP && pPopup != NULL) {
        szText[0] = '\0';
        if (pPopup->pszText != NULL)
            lstrcpynA(szText, pPopup->pszText, sizeof(szText));
        else
            LoadStringA(pPopup->hinst, pPopup->idString, szText, sizeof(szText));
        _snprintf(szLine, sizeof(szLine), "popup %s", szText);
    } else if (uCommand == HH_CLOSE_ALL) {
        lstrcpynA(szLine, "close", sizeof(szLine));
    } else {
        _snprintf(szLine, sizeof(szLine), "command %u", uCommand);
    }
    szLine[sizeof(szLine) - 1] = '\0';
    AppendToValue("Help", szLine, TRUE);
    return NULL;
}
