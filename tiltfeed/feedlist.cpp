/*
 * The page's list refresh with the store's item repair: every item key is
 * checked and its shortcut rewritten where needed; broken items go.
 */
#include "tiltfeed/feedstore.h"
#include "tiltfeed/feedcfg_res.h"
#include "common/trace.h"
#include <shlwapi.h>

/* Names of 260 characters and more are no item names (they cannot be
 * served) and are deleted after the enumeration, with the broken items. */
#define SUBKEY_NAME_MAX FEEDITEM_ENUM_NAME_MAX

/* Names noted during an enumeration, deleted after it. */
typedef struct NAMELIST {
    char (*aszNames)[SUBKEY_NAME_MAX];
    UINT nCount;
    UINT nCapacity;
} NAMELIST;

static BOOL AddName(NAMELIST *pList, LPCSTR pszName)
{
    if (pList->nCount == pList->nCapacity) {
        UINT nCapacity = pList->nCapacity ? pList->nCapacity * 2 : 8;
        HLOCAL hNew;
        if (pList->aszNames == NULL)
            hNew = LocalAlloc(LMEM_FIXED, nCapacity * SUBKEY_NAME_MAX);
        else
            hNew = LocalReAlloc((HLOCAL)pList->aszNames, nCapacity * SUBKEY_NAME_MAX, LMEM_MOVEABLE);
        if (hNew == NULL)
            return FALSE;
        pList->aszNames = (char (*)[SUBKEY_NAME_MAX])hNew;
        pList->nCapacity = nCapacity;
    }
    lstrcpynA(pList->aszNames[pList->nCount++], pszName, SUBKEY_NAME_MAX);
    return TRUE;
}

static void DeleteNamedKeys(HKEY hKey, NAMELIST *pList)
{
    UINT i;

    for (i = 0; i < pList->nCount; i++)
        SHDeleteKeyA(hKey, pList->aszNames[i]);
    if (pList->aszNames != NULL)
        LocalFree((HLOCAL)pList->aszNames);
    pList->aszNames = NULL;
    pList->nCount = pList->nCapacity = 0;
}

/* What the walk over the items carries from one item to the next. */
typedef struct LISTFILL {
    HWND hList;
    HDC hdc;
    LPCSTR pszSelected;
    LPCSTR pszFeedrunPath;
    BOOL bFolder;
    char szFolder[TILTKIT_TEXT_MAX];
    SHORTCUTREADER reader;
    NAMELIST doomed;            /* over-long names and broken items */
    UINT nCount;
    LONG lWidest;
    BOOL bSelected;
} LISTFILL;

static BOOL ListOneItem(HKEY hFeedKey, LPCSTR pszName, DWORD cchName, void *pvContext)
{
    LISTFILL *pFill = (LISTFILL *)pvContext;
    BOOL bBroken = FALSE;
    LRESULT lIndex;
    SIZE size = { 0, 0 };

    if (cchName >= TILTKIT_TEXT_MAX) {
        AddName(&pFill->doomed, pszName);
        return TRUE;
    }
    /* Without a shortcut folder no item can have its shortcut: all are left
     * out, none is deleted for it. */
    if (!pFill->bFolder ||
        !MakeSureLnkFileExistsIn(pFill->szFolder, &pFill->reader, pszName, pFill->pszFeedrunPath,
                                 &bBroken)) {
        /* A readable item whose shortcut cannot be written is only left out
         * of the list, never deleted for it. */
        if (bBroken)
            AddName(&pFill->doomed, pszName);
        return TRUE;
    }
    lIndex = SendMessageA(pFill->hList, LB_ADDSTRING, 0, (LPARAM)pszName);
    if (lIndex < 0)
        return TRUE;
    pFill->nCount++;
    if (!pFill->bSelected && lstrcmpiA(pszName, pFill->pszSelected) == 0) {
        SendMessageA(pFill->hList, LB_SETCURSEL, (WPARAM)lIndex, 0);
        pFill->bSelected = TRUE;
    }
    if (pFill->hdc != NULL && GetTextExtentPoint32A(pFill->hdc, pszName, (int)cchName, &size) &&
        size.cx > pFill->lWidest)
        pFill->lWidest = size.cx;
    return TRUE;
}

UINT SetFeedApptoListbox(HWND hPage, LPCSTR pszSelected, LPCSTR pszFeedrunPath)
{
    HFONT hFont = (HFONT)SendMessageA(hPage, WM_GETFONT, 0, 0);
    HGDIOBJ hOldFont = NULL;
    LISTFILL fill;
    HKEY hKey = NULL;
    LONG lResult;

    ZeroMemory(&fill, sizeof(fill));
    fill.hList = GetDlgItem(hPage, IDC_APPLIST);
    fill.hdc = GetDC(hPage);
    fill.pszSelected = pszSelected;
    fill.pszFeedrunPath = pszFeedrunPath;
    if (fill.hdc != NULL && hFont != NULL)
        hOldFont = SelectObject(fill.hdc, hFont);
    /* Filled without a repaint per entry; shown once at the end. */
    SendMessageA(fill.hList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(fill.hList, LB_RESETCONTENT, 0, 0);

    lResult = RegCreateKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED, 0, NULL, 0,
                              KEY_READ | KEY_WRITE, NULL, &hKey, NULL);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegCreateKeyEx() Failed in SetFeedApptoListbox().\nReturn Value %d", (int)lResult);
    } else {
        fill.bFolder = GetShortcutFolder(hPage, fill.szFolder);
        OpenShortcutReader(&fill.reader);
        EnumTiltfeedItems(hKey, ListOneItem, &fill);
        CloseShortcutReader(&fill.reader);
        DeleteNamedKeys(hKey, &fill.doomed);
        RegCloseKey(hKey);
    }

    if (fill.nCount > 0 && fill.lWidest > 0)
        SendMessageA(fill.hList, LB_SETHORIZONTALEXTENT, (WPARAM)(fill.lWidest + 2), 0);
    if (!fill.bSelected && fill.nCount > 0)
        SendMessageA(fill.hList, LB_SETCURSEL, 0, 0);
    SendMessageA(fill.hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(fill.hList, NULL, TRUE);
    if (fill.hdc != NULL) {
        if (hOldFont != NULL)
            SelectObject(fill.hdc, hOldFont);
        ReleaseDC(hPage, fill.hdc);
    }
    return fill.nCount;
}
