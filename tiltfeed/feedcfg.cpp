/*
 * Feedcfg.dll entry points and the Tiltfeed page: the list of items with
 * Add, Copy, Delete and Edit. Every change goes straight to the store; the
 * list is refreshed (and the items repaired) after each command.
 */
#include "tiltfeed/feedcfg.h"
#include "tiltfeed/feedcfg_res.h"
#include "tiltfeed/feedstore.h"
#include "console/pageplugin.h"
#include "common/pagemake.h"
#include "common/pagehelp.h"
#include "common/trace.h"
#include "help/topics.h"
#include <objbase.h>
#include <shlobj.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    g_hFeedcfgInstance = hInstance;
    return TRUE;
}

static FEEDPAGEDATA *GetPageData(HWND hPage)
{
    return (FEEDPAGEDATA *)GetWindowLongPtrA(hPage, GWLP_USERDATA);
}

/* The selected entry's text into pszName; FALSE (and empty) without one. */
static BOOL TakeSelection(HWND hPage, LPSTR pszName)
{
    HWND hList = GetDlgItem(hPage, IDC_APPLIST);
    LRESULT lIndex;
    char szText[TILTKIT_TEXT_MAX * 2];

    pszName[0] = '\0';
    if (SendMessageA(hList, LB_GETCOUNT, 0, 0) <= 0)
        return FALSE;
    lIndex = SendMessageA(hList, LB_GETCURSEL, 0, 0);
    if (lIndex == LB_ERR)
        return FALSE;
    /* Entries are item names of at most 259 characters. */
    if (SendMessageA(hList, LB_GETTEXTLEN, (WPARAM)lIndex, 0) >= TILTKIT_TEXT_MAX)
        return FALSE;
    szText[0] = '\0';
    if (SendMessageA(hList, LB_GETTEXT, (WPARAM)lIndex, (LPARAM)szText) == LB_ERR)
        return FALSE;
    lstrcpynA(pszName, szText, TILTKIT_TEXT_MAX);
    return pszName[0] != '\0';
}

/* The list refresh with its item repair, only where the store has both
 * machine values: without them the list stays empty and no item is
 * touched, whatever command ran. */
static void RefreshList(HWND hPage, FEEDPAGEDATA *pData, LPCSTR pszSelected)
{
    if (!pData->bStoreReady) {
        pData->nCount = 0;
        return;
    }
    pData->nCount = SetFeedApptoListbox(hPage, pszSelected, pData->szFeedrunPath);
}

/* Creates the shortcut folder if it is not a folder yet. */
static void MakeShortcutFolder(HWND hPage)
{
    char szFolder[TILTKIT_TEXT_MAX];
    DWORD dwAttributes;
    int nResult;

    if (!GetShortcutFolder(hPage, szFolder))
        return;
    dwAttributes = GetFileAttributesA(szFolder);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    nResult = SHCreateDirectoryExA(hPage, szFolder, NULL);
    if (nResult != ERROR_SUCCESS)
        TRACE("SHCreateDirectoryEx() Failed.\nReturn Value %d", nResult);
}

static BOOL OnInitPage(HWND hPage)
{
    HRESULT hr = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    FEEDPAGEDATA *pData = (FEEDPAGEDATA *)LocalAlloc(LPTR, sizeof(FEEDPAGEDATA));

    if (pData == NULL) {
        TRACE("LocalAlloc() Failed in OnInitPage().\n");
        if (SUCCEEDED(hr))
            CoUninitialize();
        return TRUE;
    }
    pData->bComInitialized = SUCCEEDED(hr);
    pData->szSelectedName[0] = '\0';
    pData->szAddName[0] = '\0';
    SetWindowLongPtrA(hPage, GWLP_USERDATA, (LONG_PTR)pData);

    MakeShortcutFolder(hPage);
    pData->bStoreReady = GetStorePaths(pData->szFeedrunPath, pData->szHelpFilePath);
    RefreshList(hPage, pData, "");
    return TRUE;
}

static void OnDestroyPage(HWND hPage)
{
    FEEDPAGEDATA *pData = GetPageData(hPage);

    ReleasePageHelp();
    if (pData == NULL)
        return;
    SetWindowLongPtrA(hPage, GWLP_USERDATA, 0);
    if (pData->bComInitialized)
        CoUninitialize();
    LocalFree(pData);
}

static void OnAdd(HWND hPage, FEEDPAGEDATA *pData)
{
    if (pData->nCount >= TILTFEED_MAX_ITEMS) {
        ShowFeedcfgError(hPage, IDS_ERR_TOOMANY);
        return;
    }
    TakeSelection(hPage, pData->szSelectedName);
    pData->szAddName[0] = '\0';
    RunEditDialog(hPage, pData->szAddName);
    RefreshList(hPage, pData, pData->szSelectedName);
}

static void OnCopy(HWND hPage, FEEDPAGEDATA *pData)
{
    if (pData->nCount >= TILTFEED_MAX_ITEMS) {
        ShowFeedcfgError(hPage, IDS_ERR_TOOMANY);
        return;
    }
    if (!TakeSelection(hPage, pData->szSelectedName)) {
        ShowFeedcfgError(hPage, IDS_ERR_COPYNONE);
        return;
    }
    CopyTiltfeedItem(hPage, pData->szSelectedName);
    RefreshList(hPage, pData, pData->szSelectedName);
}

static void OnDelete(HWND hPage, FEEDPAGEDATA *pData)
{
    if (!TakeSelection(hPage, pData->szSelectedName)) {
        ShowFeedcfgError(hPage, IDS_ERR_DELETENONE);
        return;
    }
    DeleteTiltfeedItem(hPage, pData->szSelectedName);
    RefreshList(hPage, pData, pData->szSelectedName);
}

static void OnEdit(HWND hPage, FEEDPAGEDATA *pData)
{
    if (!TakeSelection(hPage, pData->szSelectedName)) {
        ShowFeedcfgError(hPage, IDS_ERR_EDITNONE);
        return;
    }
    RunEditDialog(hPage, pData->szSelectedName);
    RefreshList(hPage, pData, pData->szSelectedName);
}

static BOOL OnCommandPage(HWND hPage, WORD wId, WORD wNotifyCode)
{
    FEEDPAGEDATA *pData = GetPageData(hPage);

    switch (wId) {
    case IDC_ADD:
    case IDC_COPY:
    case IDC_DELETE:
    case IDC_EDITITEM:
        if (wNotifyCode != BN_CLICKED)
            return FALSE;
        break;
    case IDC_APPLIST:
        if (wNotifyCode != LBN_DBLCLK)
            return FALSE;
        break;
    default:
        return FALSE;
    }
    if (pData == NULL)
        return TRUE;
    switch (wId) {
    case IDC_ADD:
        OnAdd(hPage, pData);
        break;
    case IDC_COPY:
        OnCopy(hPage, pData);
        break;
    case IDC_DELETE:
        OnDelete(hPage, pData);
        break;
    default:   /* Edit and a double click in the list */
        OnEdit(hPage, pData);
        break;
    }
    return TRUE;
}

/* F1: the page's topic in the help file that "HelpFilePath" names. */
static BOOL OnHelpPage(HWND hPage)
{
    FEEDPAGEDATA *pData = GetPageData(hPage);

    if (pData != NULL)
        ShowPageHelp(hPage, pData->szHelpFilePath, HELP_TOPIC_TILTFEED);
    return TRUE;
}

static INT_PTR CALLBACK FeedPageProc(HWND hPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPage(hPage);
    case WM_COMMAND:
        return OnCommandPage(hPage, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
        return OnHelpPage(hPage);
    case WM_DESTROY:
        OnDestroyPage(hPage);
        return TRUE;
    }
    return FALSE;
}

extern "C" int WINAPI GetPropertyPageNumber(void)
{
    return 1;
}

extern "C" HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex)
{
    return CreateTemplatePage(g_hFeedcfgInstance, IDD_FEEDCFG_PAGE, FeedPageProc, 0);
}
