/*
 * The page's list refresh with the store's item repair: every item key is
 * checked and its shortcut rewritten where needed; broken items go.
 */
#include "tiltfeed/feedstore.h"
#include "tiltfeed/feedcfg_res.h"
#include "common/trace.h"
#include <shlwapi.h>

/* Subkey names are enumerated into 520 bytes; names of 260 characters and
 * more are no item names (they cannot be served) and are deleted after the
 * enumeration, with the broken items. */
#define SUBKEY_NAME_MAX 520

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

UINT SetFeedApptoListbox(HWND hPage, LPCSTR pszSelected, LPCSTR pszFeedrunPath)
{
    HWND hList = GetDlgItem(hPage, IDC_APPLIST);
    HDC hdc = GetDC(hPage);
    HFONT hFont = (HFONT)SendMessageA(hPage, WM_GETFONT, 0, 0);
    HGDIOBJ hOldFont = NULL;
    char szName[SUBKEY_NAME_MAX];
    NAMELIST doomed = { NULL, 0, 0 };   /* over-long names and broken items */
    char szFolder[TILTKIT_TEXT_MAX];
    BOOL bFolder;
    SHORTCUTREADER reader;
    HKEY hKey = NULL;
    DWORD dwIndex;
    UINT nCount = 0;
    LONG lWidest = 0;
    BOOL bSelected = FALSE;
    LONG lResult;

    if (hdc != NULL && hFont != NULL)
        hOldFont = SelectObject(hdc, hFont);
    /* Filled without a repaint per entry; shown once at the end. */
    SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);

    lResult = RegCreateKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED, 0, NULL, 0,
                              KEY_READ | KEY_WRITE, NULL, &hKey, NULL);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegCreateKeyEx() Failed in SetFeedApptoListbox().\nReturn Value %d", (int)lResult);
    } else {
        /* Without a shortcut folder no item can have its shortcut: all are
         * left out, none is deleted for it. */
        bFolder = GetShortcutFolder(hPage, szFolder);
        OpenShortcutReader(&reader);
        for (dwIndex = 0;; dwIndex++) {
            DWORD cchName = sizeof(szName);
            BOOL bBroken = FALSE;
            lResult = RegEnumKeyExA(hKey, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL);
            if (lResult == ERROR_MORE_DATA)
                continue;
            if (lResult != ERROR_SUCCESS)
                break;
            if (cchName >= TILTKIT_TEXT_MAX) {
                AddName(&doomed, szName);
                continue;
            }
            if (bFolder &&
                MakeSureLnkFileExistsIn(szFolder, &reader, szName, pszFeedrunPath, &bBroken)) {
                LRESULT lIndex = SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)szName);
                SIZE size = { 0, 0 };
                if (lIndex < 0)
                    continue;
                nCount++;
                if (!bSelected && lstrcmpiA(szName, pszSelected) == 0) {
                    SendMessageA(hList, LB_SETCURSEL, (WPARAM)lIndex, 0);
                    bSelected = TRUE;
                }
                if (hdc != NULL && GetTextExtentPoint32A(hdc, szName, (int)cchName, &size) &&
                    size.cx > lWidest)
                    lWidest = size.cx;
            } else if (bBroken) {
                AddName(&doomed, szName);
            }
            /* Otherwise a readable item whose shortcut cannot be written:
             * only left out of the list, never deleted for it. */
        }
        CloseShortcutReader(&reader);
        DeleteNamedKeys(hKey, &doomed);
        RegCloseKey(hKey);
    }

    if (nCount > 0 && lWidest > 0)
        SendMessageA(hList, LB_SETHORIZONTALEXTENT, (WPARAM)(lWidest + 2), 0);
    if (!bSelected && nCount > 0)
        SendMessageA(hList, LB_SETCURSEL, 0, 0);
    SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hList, NULL, TRUE);
    if (hdc != NULL) {
        if (hOldFont != NULL)
            SelectObject(hdc, hOldFont);
        ReleaseDC(hPage, hdc);
    }
    return nCount;
}
