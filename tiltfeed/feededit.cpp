/*
 * The add/edit dialog of the Tiltfeed page: application name, mouse or
 * cursor-key mode with their rate sliders, and the executable's path, with
 * a live character check of both fields and the checks of OK.
 */
#include "tiltfeed/feedcfg.h"
#include "tiltfeed/feedcfg_res.h"
#include "tiltfeed/feedname.h"
#include "tiltfeed/feedstore.h"
#include "common/pagemake.h"
#include "common/namecheck.h"
#include "common/trace.h"
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

/* Slider ranges: the mouse rate is ten times its slider's position. */
#define MOUSE_SLIDER_MIN  1
#define MOUSE_SLIDER_MAX  30
#define CURSOR_SLIDER_MIN 1
#define CURSOR_SLIDER_MAX 20
#define SLIDER_START      10
#define MOUSE_RATE_STEP   10

/* The name field is read with room for this many characters for its
 * length check. */
#define NAME_CHECK_CHARS  267

/* The field that completes file-system paths. */
static const int s_aidPathEdit[] = { IDC_PATH };

static FEEDEDITDATA *GetEditData(HWND hDlg)
{
    return (FEEDEDITDATA *)GetWindowLongPtrA(hDlg, GWLP_USERDATA);
}

static void FreeEditData(HWND hDlg)
{
    FEEDEDITDATA *pData = GetEditData(hDlg);

    SetWindowLongPtrA(hDlg, GWLP_USERDATA, 0);
    if (pData != NULL)
        LocalFree(pData);
}

static void EnableGroup(HWND hDlg, BOOL bMouse, BOOL bEnable)
{
    static const int aMouse[] = { IDC_MOUSE_RATE, IDC_MOUSE_SLOW, IDC_MOUSE_FAST };
    static const int aCursor[] = { IDC_CURSOR_RATE, IDC_CURSOR_SLOW, IDC_CURSOR_FAST };
    const int *pIds = bMouse ? aMouse : aCursor;
    int i;

    for (i = 0; i < 3; i++)
        EnableWindow(GetDlgItem(hDlg, pIds[i]), bEnable);
}

/* Checks one mode's radio button and enables only that mode's group. */
static void SelectMode(HWND hDlg, BOOL bMouse)
{
    CheckDlgButton(hDlg, IDC_MOUSE_RADIO, bMouse ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_CURSOR_RADIO, bMouse ? BST_UNCHECKED : BST_CHECKED);
    EnableGroup(hDlg, TRUE, bMouse);
    EnableGroup(hDlg, FALSE, !bMouse);
}

static void SetSlider(HWND hDlg, int id, int nPos)
{
    SendDlgItemMessageA(hDlg, id, TBM_SETPOS, TRUE, (LPARAM)nPos);
}

static int GetSlider(HWND hDlg, int id)
{
    return (int)SendDlgItemMessageA(hDlg, id, TBM_GETPOS, 0, 0);
}

/* The controls of a new item: mouse mode, both sliders in the middle. */
static void SetNewItemControls(HWND hDlg)
{
    SelectMode(hDlg, TRUE);
    SetSlider(hDlg, IDC_MOUSE_RATE, SLIDER_START);
    SetSlider(hDlg, IDC_CURSOR_RATE, SLIDER_START);
}

static void InitEditDlg(HWND hDlg, FEEDEDITDATA *pData)
{
    char szTitle[TILTKIT_TEXT_MAX];
    char szKeyPath[TILTKIT_TEXT_MAX];
    TILTFEEDITEM item;
    HKEY hKey = NULL;
    LONG lResult = ERROR_FILENAME_EXCED_RANGE;
    BOOL bRead;

    SendDlgItemMessageA(hDlg, IDC_MOUSE_RATE, TBM_SETRANGE, TRUE,
                        MAKELONG(MOUSE_SLIDER_MIN, MOUSE_SLIDER_MAX));
    SendDlgItemMessageA(hDlg, IDC_CURSOR_RATE, TBM_SETRANGE, TRUE,
                        MAKELONG(CURSOR_SLIDER_MIN, CURSOR_SLIDER_MAX));

    if (pData->nMode == EDITMODE_ADD) {
        pData->pszName[0] = '\0';
        pData->szLastPath[0] = '\0';
        SetNewItemControls(hDlg);
        return;
    }

    szTitle[0] = '\0';
    LoadStringA(g_hFeedcfgInstance, IDS_EDIT_TITLE, szTitle, ARRAYSIZE(szTitle));
    SetWindowTextA(hDlg, szTitle);
    if (GetItemKeyPath(pData->szStartName, szKeyPath))
        lResult = RegOpenKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult != ERROR_SUCCESS) {
        SetNewItemControls(hDlg);
        TRACE("RegOpenKeyEx() Failed in InitEditDlg().\nReturn Value %d", (int)lResult);
        return;
    }
    ZeroMemory(&item, sizeof(item));
    lstrcpynA(item.szItemName, pData->szStartName, sizeof(item.szItemName));
    bRead = GetAppDataFromReg(hKey, &item);
    RegCloseKey(hKey);
    if (!bRead) {
        /* The list never offers a broken item; one broken since is shown
         * as a new item would be, under its name. */
        item.dwType = FEEDITEM_TYPE_MOUSE;
        item.dwMouseRate = SLIDER_START * MOUSE_RATE_STEP;
        item.dwCursorKeyRate = SLIDER_START;
        item.szPath[0] = '\0';
    }
    SelectMode(hDlg, item.dwType != FEEDITEM_TYPE_CURSORKEY);
    SetSlider(hDlg, IDC_MOUSE_RATE, (int)(item.dwMouseRate / MOUSE_RATE_STEP));
    SetSlider(hDlg, IDC_CURSOR_RATE, (int)item.dwCursorKeyRate);
    lstrcpynA(pData->pszName, item.szItemName, TILTKIT_TEXT_MAX);
    lstrcpynA(pData->szLastPath, item.szPath, sizeof(pData->szLastPath));
    SetDlgItemTextA(hDlg, IDC_NAME, item.szItemName);
    SetDlgItemTextA(hDlg, IDC_PATH, item.szPath);
}

static BOOL OnInitEditDlg(HWND hDlg, LPSTR pszName)
{
    FEEDEDITDATA *pData = (FEEDEDITDATA *)LocalAlloc(LPTR, sizeof(FEEDEDITDATA));
    char szHelpFilePath[TILTKIT_TEXT_MAX];

    if (pData == NULL) {
        TRACE("LocalAlloc() Failed in OnInitEditDlg().\n");
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, (LONG_PTR)pData);
    TurnOnPathCompletion(hDlg, s_aidPathEdit, ARRAYSIZE(s_aidPathEdit));

    pData->pszName = pszName;
    lstrcpynA(pData->szStartName, pszName, sizeof(pData->szStartName));
    pData->nMode = pszName[0] != '\0' ? EDITMODE_EDIT : EDITMODE_ADD;
    pData->check.bRevertPending = FALSE;
    pData->check.nCaret = 0;
    pData->szLastPath[0] = '\0';

    pData->nNameLimit = GetNameLimit(hDlg);
    /* Without both machine values the page lists nothing, and the dialog
     * writes nothing either. */
    GetStorePaths(pData->szFeedrunPath, szHelpFilePath);
    InitEditDlg(hDlg, pData);
    return TRUE;
}

/* Radio buttons: the checked mode's group is enabled, the other disabled. */
static void OnModeClicked(HWND hDlg)
{
    if (IsDlgButtonChecked(hDlg, IDC_MOUSE_RADIO) == BST_CHECKED &&
        !IsWindowEnabled(GetDlgItem(hDlg, IDC_MOUSE_RATE))) {
        EnableGroup(hDlg, TRUE, TRUE);
        EnableGroup(hDlg, FALSE, FALSE);
    } else if (IsDlgButtonChecked(hDlg, IDC_CURSOR_RADIO) == BST_CHECKED &&
               !IsWindowEnabled(GetDlgItem(hDlg, IDC_CURSOR_RATE))) {
        EnableGroup(hDlg, FALSE, TRUE);
        EnableGroup(hDlg, TRUE, FALSE);
    }
}

/*
 * The live character check of the name or the path field, on every change
 * of its text: a forbidden character just typed is taken out again, with
 * the caret one place back, and the user is told which characters are not
 * allowed. A path naming Windows Explorer is warned about, not refused.
 */
static void OnFieldUpdate(HWND hDlg, FEEDEDITDATA *pData, int idField)
{
    BOOL bName = idField == IDC_NAME;

    if (CheckFieldChars(GetDlgItem(hDlg, idField), &pData->check,
                        bName ? pData->pszName : pData->szLastPath,
                        bName ? NAMECHECK_NAME_CHARS : NAMECHECK_PATH_CHARS)) {
        if (bName)
            ShowFeedcfgError(hDlg, IDS_ERR_NAMECHARS, NAMECHECK_NAME_SHOWN);
        else
            ShowFeedcfgError(hDlg, IDS_ERR_PATHCHARS, NAMECHECK_PATH_SHOWN);
    }
    if (!bName && IsExplorerPath(pData->szLastPath, NameCheckLeadByteAcp))
        ShowFeedcfgError(hDlg, IDS_ERR_EXPLORER);
}

/* Browse: the open-file dialog for a program, starting in the Start-menu
 * programs folder; the choice goes into the path field. */
static void GetTiltfeedExePath(HWND hDlg)
{
    char szFolder[TILTKIT_TEXT_MAX];
    char szFile[TILTKIT_TEXT_MAX];
    OPENFILEASK ask;

    GetProgramsFolder(szFolder, FALSE);
    ZeroMemory(&ask, sizeof(ask));
    ask.hInstance = g_hFeedcfgInstance;
    ask.idFilter = IDS_BROWSE_FILTER;
    ask.cchFilterLimit = 100;
    ask.idTitle = IDS_BROWSE_TITLE;
    ask.cchTitleLimit = 30;
    ask.pszInitialDir = szFolder;
    ask.pszDefExt = "EXE";
    if (AskOpenFileName(hDlg, &ask, szFile))
        SetDlgItemTextA(hDlg, IDC_PATH, szFile);
}

/* Whether pszPath names an existing file that is not a folder. */
static BOOL IsExistingFile(LPCSTR pszPath)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA(pszPath, &fd);

    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(hFind);
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

static int OnOkEditDlg(HWND hDlg, FEEDEDITDATA *pData)
{
    char szCheck[NAME_CHECK_CHARS + 1];
    char szTyped[TILTKIT_TEXT_MAX];
    char szPath[TILTKIT_TEXT_MAX + 1];
    char szFormat[TILTKIT_TEXT_MAX];
    char szKeyPath[TILTKIT_TEXT_MAX];
    TILTFEEDITEM item;
    LPCSTR pszName;
    HKEY hKey = NULL;
    LONG lResult;
    BOOL bSaved;
    int nMax;

    szCheck[0] = '\0';
    GetDlgItemTextA(hDlg, IDC_NAME, szCheck, ARRAYSIZE(szCheck));
    nMax = pData->nMode == EDITMODE_EDIT ? pData->nNameLimit + TILTFEED_EDIT_EXTRA : pData->nNameLimit;
    if (lstrlenA(szCheck) >= nMax) {
        ShowFeedcfgError(hDlg, IDS_ERR_TOOLONG);
        return EDITOK_REFUSED;
    }

    szTyped[0] = szPath[0] = '\0';
    GetDlgItemTextA(hDlg, IDC_NAME, szTyped, ARRAYSIZE(szTyped));
    /* One byte more than a path may have: a longer path is no file, and is
     * never cut down to the name of another. */
    GetDlgItemTextA(hDlg, IDC_PATH, szPath, ARRAYSIZE(szPath));
    pszName = SkipLeadingBlanks(szTyped, NameCheckLeadByteAcp);
    if (pszName[0] == '\0') {
        ShowFeedcfgError(hDlg, IDS_ERR_NONAME);
        return EDITOK_REFUSED;
    }

    ZeroMemory(&item, sizeof(item));
    if (pData->nMode == EDITMODE_ADD) {
        szFormat[0] = '\0';
        LoadStringA(g_hFeedcfgInstance, IDS_NEW_NAME, szFormat, ARRAYSIZE(szFormat));
        if (FormatItemName(szFormat, 0, pszName, item.szItemName, sizeof(item.szItemName)) < 0) {
            ShowFeedcfgError(hDlg, IDS_ERR_TOOLONG);
            return EDITOK_REFUSED;
        }
    } else {
        lstrcpynA(item.szItemName, pszName, sizeof(item.szItemName));
    }

    if (!GetItemKeyPath(item.szItemName, szKeyPath)) {
        ShowFeedcfgError(hDlg, IDS_ERR_TOOLONG);
        return EDITOK_REFUSED;
    }
    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult == ERROR_SUCCESS) {
        RegCloseKey(hKey);
        if (pData->nMode != EDITMODE_EDIT || lstrcmpiA(item.szItemName, pData->szStartName) != 0) {
            ShowFeedcfgError(hDlg, IDS_ERR_NAMEUSED);
            return EDITOK_REFUSED;
        }
    } else if (lResult != ERROR_FILE_NOT_FOUND && lResult != ERROR_PATH_NOT_FOUND) {
        TRACE("RegOpenKeyEx() Failed in OnOkEditDlg().\nReturn Value %d", (int)lResult);
        ShowFeedcfgError(hDlg, IDS_ERR_NAMEUSED);
        return EDITOK_REFUSED;
    }

    item.dwType = IsDlgButtonChecked(hDlg, IDC_MOUSE_RADIO) == BST_CHECKED
                      ? FEEDITEM_TYPE_MOUSE : FEEDITEM_TYPE_CURSORKEY;
    item.dwMouseRate = (DWORD)GetSlider(hDlg, IDC_MOUSE_RATE) * MOUSE_RATE_STEP;
    item.dwCursorKeyRate = (DWORD)GetSlider(hDlg, IDC_CURSOR_RATE);

    if (szPath[0] == '\0') {
        ShowFeedcfgError(hDlg, IDS_ERR_NOPATH);
        return EDITOK_REFUSED;
    }
    if (lstrlenA(szPath) >= TILTKIT_TEXT_MAX || !IsExistingFile(szPath)) {
        ShowFeedcfgError(hDlg, IDS_ERR_NOFILE);
        return EDITOK_REFUSED;
    }
    if (!SplitTargetFileName(szPath, TILTKIT_TEXT_MAX, NameCheckLeadByteAcp, item.szFileName,
                             sizeof(item.szFileName))) {
        ShowFeedcfgError(hDlg, IDS_ERR_BADFILE);
        return EDITOK_REFUSED;
    }
    lstrcpynA(item.szPath, szPath, sizeof(item.szPath));

    /* A new name keeps every value of the item that the dialog does not
     * set; the old item goes only once the new one is saved. */
    if (pData->nMode == EDITMODE_EDIT && lstrcmpiA(item.szItemName, pData->szStartName) != 0)
        bSaved = RenameTiltfeedItem(hDlg, pData->szStartName, &item, pData->szFeedrunPath);
    else
        bSaved = CreateTiltfeedItem(hDlg, &item, pData->szFeedrunPath);
    if (!bSaved)
        return EDITOK_FAILED;
    /* The page selects the item under the name it was saved with. */
    if (pData->nMode == EDITMODE_EDIT)
        lstrcpynA(pData->pszName, item.szItemName, TILTKIT_TEXT_MAX);
    return EDITOK_SAVED;
}

static BOOL OnCommandEditDlg(HWND hDlg, WORD wId, WORD wNotifyCode)
{
    FEEDEDITDATA *pData = GetEditData(hDlg);

    if (pData == NULL)
        return FALSE;
    switch (wId) {
    case IDOK:
        if (OnOkEditDlg(hDlg, pData) != EDITOK_REFUSED) {
            FreeEditData(hDlg);
            EndDialog(hDlg, IDOK);
        }
        return TRUE;
    case IDCANCEL:
        lstrcpynA(pData->pszName, pData->szStartName, TILTKIT_TEXT_MAX);
        FreeEditData(hDlg);
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    case IDC_MOUSE_RADIO:
    case IDC_CURSOR_RADIO:
        if (wNotifyCode == BN_CLICKED)
            OnModeClicked(hDlg);
        return TRUE;
    case IDC_NAME:
    case IDC_PATH:
        if (wNotifyCode == EN_UPDATE)
            OnFieldUpdate(hDlg, pData, wId);
        return TRUE;
    case IDC_BROWSE:
        if (wNotifyCode == BN_CLICKED)
            GetTiltfeedExePath(hDlg);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK FeedEditProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitEditDlg(hDlg, (LPSTR)lParam);
    case WM_COMMAND:
        return OnCommandEditDlg(hDlg, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
        FreeEditData(hDlg);
        return TRUE;
    }
    return FALSE;
}

INT_PTR RunEditDialog(HWND hPage, LPSTR pszName)
{
    return DialogBoxParamA(g_hFeedcfgInstance, MAKEINTRESOURCEA(IDD_FEEDCFG_EDIT), hPage,
                           FeedEditProc, (LPARAM)pszName);
}
