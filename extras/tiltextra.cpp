/*
 * Tiltextra.dll: the "Дополнительно" page of the setting console. It edits
 * the opt-in settings that the runtimes read beside their own values,
 * through the stores of the runtimes themselves:
 *   Jolt       HKCU "...\Jolt"              quiet time after input, automatic
 *                                            screen rotation
 *   Tiltfeed   HKCU "...\Tiltfeed\<item>"   dead zone, level at front
 *   Lockwatch  HKLM "...\Lockwatch"         movement threshold, hold alarm
 * Only values the user changed are written, on the sheet's apply
 * notification (OK). A running Joltrun is told through its settings
 * notification; Feedrun and Lockwatch read theirs when they start. The
 * Tiltfeed items are read again each time the page becomes active, so that
 * what the Tiltfeed page renamed or deleted meanwhile is seen here.
 */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include "common/pagemake.h"
#include "common/pagehelp.h"
#include "common/pagetext.h"
#include "common/errorbox.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include "console/pageplugin.h"
#include "help/topics.h"
#include "jolt/joltstore.h"
#include "motionlock/lockstore.h"
#include "tiltfeed/feeditem.h"
#include "resource.h"

/* Items shown in the list; more than anyone registers by hand. */
#define EXTRA_MAX_ITEMS 128

typedef struct EXTRAITEM {
    char szName[TILTKIT_TEXT_MAX];
    DWORD dwDeadZone;
    DWORD bLevelAtFront;
    DWORD dwSavedDeadZone;      /* as read, to write only changes */
    DWORD bSavedLevelAtFront;
} EXTRAITEM;

typedef struct EXTRAPAGE {
    DWORD dwQuietTime;
    DWORD dwSavedQuietTime;
    DWORD bAutoRotate;
    DWORD bSavedAutoRotate;
    DWORD dwThreshold;
    DWORD dwSavedThreshold;
    DWORD bHoldAlarm;
    DWORD bSavedHoldAlarm;
    int nItems;
    int nCurrent;               /* index in aItems of the item shown, -1 none */
    BOOL bFilling;              /* the page itself is filling the fields */
    EXTRAITEM aItems[EXTRA_MAX_ITEMS];
} EXTRAPAGE;

static HINSTANCE g_hInstance;

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    g_hInstance = hInstance;
    return TRUE;
}

static void ShowExtraError(HWND hwndOwner, UINT idText, ...)
{
    va_list args;
    va_start(args, idText);
    ShowErrorBoxV(g_hInstance, IDS_CAPTION, hwndOwner, idText, MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

/* ---- reading ------------------------------------------------------------ */

static void ReadJolt(EXTRAPAGE *pPage)
{
    HKEY hKey = NULL;

    if (RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        pPage->dwQuietTime = JoltReadQuietTime(hKey);
        pPage->bAutoRotate = (DWORD)JoltReadAutoRotate(hKey);
        RegCloseKey(hKey);
    }
    pPage->dwSavedQuietTime = pPage->dwQuietTime;
    pPage->bSavedAutoRotate = pPage->bAutoRotate;
}

/* The item list being read, and the list it replaces: an item still there
 * keeps what the user changed on it but did not save yet. */
typedef struct ITEMREAD {
    EXTRAPAGE *pPage;
    const EXTRAITEM *aOld;
    int nOld;
} ITEMREAD;

static const EXTRAITEM *FindOldItem(const ITEMREAD *pRead, LPCSTR pszName)
{
    int i;

    for (i = 0; i < pRead->nOld; i++) {
        if (lstrcmpiA(pRead->aOld[i].szName, pszName) == 0)
            return &pRead->aOld[i];
    }
    return NULL;
}

static BOOL ReadOneItem(HKEY hFeedKey, LPCSTR pszName, DWORD cchName, void *pvContext)
{
    ITEMREAD *pRead = (ITEMREAD *)pvContext;
    EXTRAPAGE *pPage = pRead->pPage;
    EXTRAITEM *pItem;
    const EXTRAITEM *pOld;
    FEEDCOMFORT comfort;
    HKEY hItem = NULL;

    if (pPage->nItems >= EXTRA_MAX_ITEMS)
        return FALSE;
    /* A name longer than the runtime could be given is no item. */
    if (cchName >= TILTKIT_TEXT_MAX)
        return TRUE;
    if (RegOpenKeyExA(hFeedKey, pszName, 0, KEY_READ, &hItem) != ERROR_SUCCESS)
        return TRUE;
    GetItemComfort(hItem, &comfort);
    RegCloseKey(hItem);
    pItem = &pPage->aItems[pPage->nItems++];
    lstrcpynA(pItem->szName, pszName, sizeof(pItem->szName));
    pItem->dwDeadZone = pItem->dwSavedDeadZone = comfort.dwDeadZone;
    pItem->bLevelAtFront = pItem->bSavedLevelAtFront = (DWORD)comfort.bLevelAtFront;
    pOld = FindOldItem(pRead, pszName);
    if (pOld != NULL) {
        if (pOld->dwDeadZone != pOld->dwSavedDeadZone)
            pItem->dwDeadZone = pOld->dwDeadZone;
        if (pOld->bLevelAtFront != pOld->bSavedLevelAtFront)
            pItem->bLevelAtFront = pOld->bLevelAtFront;
    }
    return TRUE;
}

/* (Re)reads the Tiltfeed items; aOld/nOld: the list read before, or none. */
static void ReadItems(EXTRAPAGE *pPage, const EXTRAITEM *aOld, int nOld)
{
    ITEMREAD read = { pPage, aOld, nOld };
    HKEY hFeed = NULL;

    pPage->nItems = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED, 0, KEY_READ, &hFeed) != ERROR_SUCCESS)
        return;
    EnumTiltfeedItems(hFeed, ReadOneItem, &read);
    RegCloseKey(hFeed);
}

static void ReadLockwatch(EXTRAPAGE *pPage)
{
    BOOL bHold = FALSE;

    ReadLockwatchOptions(&pPage->dwThreshold, &bHold);
    pPage->bHoldAlarm = (DWORD)bHold;
    pPage->dwSavedThreshold = pPage->dwThreshold;
    pPage->bSavedHoldAlarm = pPage->bHoldAlarm;
}

/* ---- controls ----------------------------------------------------------- */

static void SetupNumber(HWND hPage, int idEdit, int idSpin, DWORD dwMax, DWORD dwValue)
{
    char sz[16];

    SendDlgItemMessageA(hPage, idEdit, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(hPage, idSpin, UDM_SETRANGE32, 0, (LPARAM)dwMax);
    _snprintf(sz, sizeof(sz), "%lu", (unsigned long)dwValue);
    sz[sizeof(sz) - 1] = '\0';
    SetDlgItemTextA(hPage, idEdit, sz);
}

/* Reads a number field; on a bad value tells the user and focuses it. */
static BOOL GetNumber(HWND hPage, int idEdit, DWORD dwMax, UINT idError, DWORD *pdwValue)
{
    char sz[32];
    uint32_t dw = 0;

    sz[0] = '\0';
    GetDlgItemTextA(hPage, idEdit, sz, sizeof(sz));
    if (ParsePageNumber(sz, dwMax, &dw)) {
        *pdwValue = dw;
        return TRUE;
    }
    ShowExtraError(hPage, idError);
    SetFocus(GetDlgItem(hPage, idEdit));
    SendDlgItemMessageA(hPage, idEdit, EM_SETSEL, 0, -1);
    return FALSE;
}

static void ShowItem(HWND hPage, EXTRAPAGE *pPage)
{
    BOOL bItem = pPage->nCurrent >= 0;
    const EXTRAITEM *pItem = bItem ? &pPage->aItems[pPage->nCurrent] : NULL;

    SetupNumber(hPage, IDC_DEADZONE, IDC_DEADZONE_SPIN, FEEDCOMFORT_MAX_DEADZONE,
                bItem ? pItem->dwDeadZone : 0);
    CheckDlgButton(hPage, IDC_LEVELATFRONT, bItem && pItem->bLevelAtFront ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(hPage, IDC_ITEM), bItem);
    EnableWindow(GetDlgItem(hPage, IDC_DEADZONE), bItem);
    EnableWindow(GetDlgItem(hPage, IDC_DEADZONE_SPIN), bItem);
    EnableWindow(GetDlgItem(hPage, IDC_LEVELATFRONT), bItem);
}

/* Takes the shown item's fields into the page state. */
static BOOL KeepItem(HWND hPage, EXTRAPAGE *pPage)
{
    EXTRAITEM *pItem;

    if (pPage->nCurrent < 0)
        return TRUE;
    pItem = &pPage->aItems[pPage->nCurrent];
    if (!GetNumber(hPage, IDC_DEADZONE, FEEDCOMFORT_MAX_DEADZONE, IDS_ERR_DEADZONE, &pItem->dwDeadZone))
        return FALSE;
    pItem->bLevelAtFront = IsDlgButtonChecked(hPage, IDC_LEVELATFRONT) == BST_CHECKED;
    return TRUE;
}

static EXTRAPAGE *PageState(HWND hPage)
{
    return (EXTRAPAGE *)GetWindowLongPtrA(hPage, GWLP_USERDATA);
}

/* ---- writing ------------------------------------------------------------ */

static BOOL SaveJolt(HWND hPage, EXTRAPAGE *pPage)
{
    if (pPage->dwQuietTime == pPage->dwSavedQuietTime && pPage->bAutoRotate == pPage->bSavedAutoRotate)
        return TRUE;
    if ((pPage->dwQuietTime != pPage->dwSavedQuietTime &&
         JoltSaveQuietTime(pPage->dwQuietTime) != ERROR_SUCCESS) ||
        (pPage->bAutoRotate != pPage->bSavedAutoRotate &&
         JoltSaveAutoRotate(pPage->bAutoRotate) != ERROR_SUCCESS)) {
        ShowExtraError(hPage, IDS_ERR_SAVE_JOLT);
        return FALSE;
    }
    pPage->dwSavedQuietTime = pPage->dwQuietTime;
    pPage->bSavedAutoRotate = pPage->bAutoRotate;
    /* A running Joltrun reads its values again. */
    TellJoltrun(FindJoltrun());
    return TRUE;
}

/* One changed comfort of an item. An item removed on the Tiltfeed page
 * meanwhile has nothing left to save, and is not made again. */
static BOOL SaveItemValue(LPCSTR pszName, LPCSTR pszValue, DWORD dwValue)
{
    LONG lResult = SetItemComfortValue(pszName, pszValue, dwValue);

    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}

static BOOL SaveItems(HWND hPage, EXTRAPAGE *pPage)
{
    int i;

    for (i = 0; i < pPage->nItems; i++) {
        EXTRAITEM *pItem = &pPage->aItems[i];
        BOOL bOk = TRUE;

        if (pItem->dwDeadZone != pItem->dwSavedDeadZone)
            bOk = SaveItemValue(pItem->szName, FEEDITEM_VAL_DEADZONE, pItem->dwDeadZone);
        if (bOk && pItem->bLevelAtFront != pItem->bSavedLevelAtFront)
            bOk = SaveItemValue(pItem->szName, FEEDITEM_VAL_LEVELATFRONT, pItem->bLevelAtFront);
        if (!bOk) {
            ShowExtraError(hPage, IDS_ERR_SAVE_ITEM, pItem->szName);
            return FALSE;
        }
        pItem->dwSavedDeadZone = pItem->dwDeadZone;
        pItem->bSavedLevelAtFront = pItem->bLevelAtFront;
    }
    return TRUE;
}

/* Saved last: the box says that the settings above were saved. */
static BOOL SaveLockwatch(HWND hPage, EXTRAPAGE *pPage)
{
    LONG lResult = ERROR_SUCCESS;

    if (pPage->dwThreshold != pPage->dwSavedThreshold)
        lResult = SaveLockwatchOption(LOCKWATCH_VAL_MOVETHRESHOLD, pPage->dwThreshold);
    if (lResult == ERROR_SUCCESS && pPage->bHoldAlarm != pPage->bSavedHoldAlarm)
        lResult = SaveLockwatchOption(LOCKWATCH_VAL_HOLDALARM, pPage->bHoldAlarm);
    if (lResult != ERROR_SUCCESS) {
        ShowExtraError(hPage, IDS_ERR_SAVE_LOCKWATCH);
        return FALSE;
    }
    pPage->dwSavedThreshold = pPage->dwThreshold;
    pPage->bSavedHoldAlarm = pPage->bHoldAlarm;
    return TRUE;
}

/* ---- the page ----------------------------------------------------------- */

/* Fills the item list (sorted by name, each entry remembering its item)
 * and shows the item named pszSelect, or else the first. */
static void FillItemList(HWND hPage, EXTRAPAGE *pPage, LPCSTR pszSelect)
{
    HWND hwndCombo = GetDlgItem(hPage, IDC_ITEM);
    int nSel = 0;
    int i;

    SendMessageA(hwndCombo, CB_RESETCONTENT, 0, 0);
    for (i = 0; i < pPage->nItems; i++)
        SendMessageA(hwndCombo, CB_ADDSTRING, 0, (LPARAM)pPage->aItems[i].szName);
    for (i = 0; i < pPage->nItems; i++) {
        int nAt = (int)SendMessageA(hwndCombo, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                    (LPARAM)pPage->aItems[i].szName);
        if (nAt >= 0) {
            SendMessageA(hwndCombo, CB_SETITEMDATA, (WPARAM)nAt, (LPARAM)i);
            if (pszSelect != NULL && lstrcmpiA(pPage->aItems[i].szName, pszSelect) == 0)
                nSel = nAt;
        }
    }
    if (pPage->nItems > 0) {
        SendMessageA(hwndCombo, CB_SETCURSEL, (WPARAM)nSel, 0);
        pPage->nCurrent = (int)SendMessageA(hwndCombo, CB_GETITEMDATA, (WPARAM)nSel, 0);
    } else {
        char szNone[TILTKIT_TEXT_MAX];
        szNone[0] = '\0';
        LoadStringA(g_hInstance, IDS_NO_ITEMS, szNone, sizeof(szNone));
        SendMessageA(hwndCombo, CB_ADDSTRING, 0, (LPARAM)szNone);
        SendMessageA(hwndCombo, CB_SETCURSEL, 0, 0);
        pPage->nCurrent = -1;
    }
    ShowItem(hPage, pPage);
}

static BOOL OnInitPage(HWND hPage)
{
    EXTRAPAGE *pPage = (EXTRAPAGE *)LocalAlloc(LPTR, sizeof(EXTRAPAGE));

    if (pPage == NULL) {
        TRACE("LocalAlloc() Failed in OnInitPage().\nGetLastError Report %d", (int)GetLastError());
        ShowExtraError(hPage, IDS_ERR_NO_MEMORY);
        EnableWindow(hPage, FALSE);
        return TRUE;
    }
    ReadJolt(pPage);
    ReadItems(pPage, NULL, 0);
    ReadLockwatch(pPage);

    SetupNumber(hPage, IDC_QUIETTIME, IDC_QUIETTIME_SPIN, JOLT_MAX_QUIETTIME, pPage->dwQuietTime);
    SetupNumber(hPage, IDC_THRESHOLD, IDC_THRESHOLD_SPIN, LOCKWATCH_MAX_MOVETHRESHOLD, pPage->dwThreshold);
    CheckDlgButton(hPage, IDC_HOLDALARM, pPage->bHoldAlarm ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hPage, IDC_AUTOROTATE, pPage->bAutoRotate ? BST_CHECKED : BST_UNCHECKED);
    FillItemList(hPage, pPage, NULL);
    /* Only now: filling the fields above is no change by the user. */
    SetWindowLongPtrA(hPage, GWLP_USERDATA, (LONG_PTR)pPage);
    return TRUE;
}

/* The page comes (back) to the front: the Tiltfeed page may have renamed,
 * added or deleted items meanwhile. The items are read again; one that is
 * still there keeps what the user changed here, the item shown stays shown. */
static void OnSetActivePage(HWND hPage, EXTRAPAGE *pPage)
{
    EXTRAITEM *aOld = (EXTRAITEM *)LocalAlloc(LMEM_FIXED, sizeof(pPage->aItems));
    char szShown[TILTKIT_TEXT_MAX];
    int nOld = pPage->nItems;

    if (aOld == NULL)
        return;
    szShown[0] = '\0';
    if (pPage->nCurrent >= 0)
        lstrcpynA(szShown, pPage->aItems[pPage->nCurrent].szName, sizeof(szShown));
    CopyMemory(aOld, pPage->aItems, nOld * sizeof(EXTRAITEM));
    ReadItems(pPage, aOld, nOld);
    LocalFree(aOld);
    pPage->bFilling = TRUE;
    FillItemList(hPage, pPage, szShown);
    pPage->bFilling = FALSE;
}

static void OnItemChosen(HWND hPage, EXTRAPAGE *pPage)
{
    HWND hwndCombo = GetDlgItem(hPage, IDC_ITEM);
    int nSel = (int)SendMessageA(hwndCombo, CB_GETCURSEL, 0, 0);

    if (nSel < 0 || pPage->nCurrent < 0)
        return;
    if (!KeepItem(hPage, pPage)) {
        /* Back to the item whose field is wrong. */
        int nCount = (int)SendMessageA(hwndCombo, CB_GETCOUNT, 0, 0);
        int i;
        for (i = 0; i < nCount; i++)
            if ((int)SendMessageA(hwndCombo, CB_GETITEMDATA, (WPARAM)i, 0) == pPage->nCurrent)
                SendMessageA(hwndCombo, CB_SETCURSEL, (WPARAM)i, 0);
        return;
    }
    pPage->nCurrent = (int)SendMessageA(hwndCombo, CB_GETITEMDATA, (WPARAM)nSel, 0);
    ShowItem(hPage, pPage);
}

static BOOL OnCommandPage(HWND hPage, WORD wId, WORD wNotify)
{
    EXTRAPAGE *pPage = PageState(hPage);

    if (pPage == NULL)
        return FALSE;
    switch (wId) {
    case IDC_ITEM:
        if (wNotify == CBN_SELCHANGE) {
            OnItemChosen(hPage, pPage);
            return TRUE;
        }
        break;
    case IDC_QUIETTIME:
    case IDC_DEADZONE:
    case IDC_THRESHOLD:
        if (wNotify == EN_CHANGE && !pPage->bFilling)
            PropSheet_Changed(GetParent(hPage), hPage);
        break;
    case IDC_LEVELATFRONT:
    case IDC_HOLDALARM:
    case IDC_AUTOROTATE:
        if (wNotify == BN_CLICKED)
            PropSheet_Changed(GetParent(hPage), hPage);
        break;
    }
    return FALSE;
}

/* Checks every field; the page stays when one is wrong. */
static BOOL OnKillActivePage(HWND hPage, EXTRAPAGE *pPage)
{
    if (!GetNumber(hPage, IDC_QUIETTIME, JOLT_MAX_QUIETTIME, IDS_ERR_QUIETTIME, &pPage->dwQuietTime))
        return FALSE;
    if (!KeepItem(hPage, pPage))
        return FALSE;
    if (!GetNumber(hPage, IDC_THRESHOLD, LOCKWATCH_MAX_MOVETHRESHOLD, IDS_ERR_THRESHOLD, &pPage->dwThreshold))
        return FALSE;
    pPage->bHoldAlarm = IsDlgButtonChecked(hPage, IDC_HOLDALARM) == BST_CHECKED;
    pPage->bAutoRotate = IsDlgButtonChecked(hPage, IDC_AUTOROTATE) == BST_CHECKED;
    return TRUE;
}

static BOOL OnApplyPage(HWND hPage, EXTRAPAGE *pPage)
{
    /* The sheet asks the shown page to leave first; a page that was never
     * shown has nothing new. */
    if (!SaveJolt(hPage, pPage))
        return FALSE;
    if (!SaveItems(hPage, pPage))
        return FALSE;
    return SaveLockwatch(hPage, pPage);
}

static BOOL OnNotifyPage(HWND hPage, const NMHDR *pnmh)
{
    EXTRAPAGE *pPage = PageState(hPage);
    LONG_PTR lResult;

    if (pPage == NULL)
        return FALSE;
    switch (pnmh->code) {
    case PSN_SETACTIVE:
        OnSetActivePage(hPage, pPage);
        lResult = 0;
        break;
    case PSN_KILLACTIVE:
        lResult = OnKillActivePage(hPage, pPage) ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        lResult = OnApplyPage(hPage, pPage) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrA(hPage, DWLP_MSGRESULT, lResult);
    return TRUE;
}

/* F1: the page's topic in the help file beside the library. */
static BOOL OnHelpPage(HWND hPage)
{
    ShowModulePageHelp(hPage, g_hInstance, HELP_FILE_EXTRAS, HELP_TOPIC_EXTRAS);
    return TRUE;
}

static BOOL OnDestroyPage(HWND hPage)
{
    EXTRAPAGE *pPage = PageState(hPage);

    ReleasePageHelp();
    if (pPage) {
        SetWindowLongPtrA(hPage, GWLP_USERDATA, 0);
        LocalFree(pPage);
    }
    return FALSE;
}

static INT_PTR CALLBACK ExtraPageDlgProc(HWND hPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPage(hPage);
    case WM_COMMAND:
        return OnCommandPage(hPage, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotifyPage(hPage, (const NMHDR *)lParam);
    case WM_HELP:
        return OnHelpPage(hPage);
    case WM_DESTROY:
        return OnDestroyPage(hPage);
    }
    return FALSE;
}

extern "C" int WINAPI GetPropertyPageNumber(void)
{
    return 1;
}

extern "C" HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex)
{
    return CreateTemplatePage(g_hInstance, IDD_EXTRA_PAGE, ExtraPageDlgProc, 0);
}
