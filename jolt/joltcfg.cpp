/*
 * Joltcfg.dll: the Jolt page of the setting console. It shows the action,
 * program and sound of each tilt direction, checks what the user types into
 * the four path fields, and on OK saves the values into the per-user key and
 * tells a running Joltrun to read them again.
 */
#include "jolt/joltstore.h"
#include "jolt/joltcfgpure.h"
#include "jolt/resource.h"
#include "console/pageplugin.h"
#include "common/pagemake.h"
#include "common/pagehelp.h"
#include "common/errorbox.h"
#include "common/namecheck.h"
#include "common/regread.h"
#include "common/trace.h"
#include "help/topics.h"
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

/* The page record: allocated at WM_INITDIALOG, kept in GWL_USERDATA. */
typedef struct JOLTPAGE {
    FIELDCHECK check;         /* the live check of the four path edits */
    char szVerticalLaunchPath[TILTKIT_TEXT_MAX];   /* last accepted texts of the edits */
    char szVerticalSoundPath[TILTKIT_TEXT_MAX];
    char szHorizontalLaunchPath[TILTKIT_TEXT_MAX];
    char szHorizontalSoundPath[TILTKIT_TEXT_MAX];
    char szHelpFilePath[TILTKIT_TEXT_MAX];         /* of the machine key */
    HWND hwndJoltrun;         /* the runtime's window, found at initialisation */
    BOOL bLoaded;             /* the stored values were read and shown */
    BOOL bComInitialized;     /* CoInitialize succeeded and needs its balance */
} JOLTPAGE;

/* One direction's controls and messages. */
typedef struct JOLTDIRECTION {
    int idAction;
    int idProgram;
    int idProgramBrowse;
    int idCheck;
    int idSound;
    int idSoundBrowse;
    UINT idNoProgram;
    UINT idNoSound;
} JOLTDIRECTION;

static const JOLTDIRECTION g_aDirections[2] = {
    { IDC_VACTION, IDC_VLAUNCH_PATH, IDC_VLAUNCH_BROWSE, IDC_VSOUND_CHECK,
      IDC_VSOUND_PATH, IDC_VSOUND_BROWSE, IDS_JOLTCFG_NOVPROGRAM, IDS_JOLTCFG_NOVSOUND },
    { IDC_HACTION, IDC_HLAUNCH_PATH, IDC_HLAUNCH_BROWSE, IDC_HSOUND_CHECK,
      IDC_HSOUND_PATH, IDC_HSOUND_BROWSE, IDS_JOLTCFG_NOHPROGRAM, IDS_JOLTCFG_NOHSOUND },
};

#define JOLTCFG_KIND_PROGRAM 0
#define JOLTCFG_KIND_SOUND   1

/* Items of the action list and the characters of the open-file filter. */
#define JOLTCFG_MAX_ACTIONS  16
#define JOLTCFG_FILTER_CHARS 100

static HINSTANCE g_hJoltcfgInstance;

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    g_hJoltcfgInstance = hInstance;
    return TRUE;
}

static void ShowJoltError(HWND hPage, UINT idText, ...)
{
    va_list args;

    va_start(args, idText);
    ShowErrorBoxV(g_hJoltcfgInstance, IDS_JOLTCFG_CAPTION, hPage, idText,
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

/* Enables or disables a control, touching it only when its state differs. */
static void SetItemEnabled(HWND hPage, int id, BOOL bEnable)
{
    HWND hwnd = GetDlgItem(hPage, id);

    if (hwnd != NULL && (IsWindowEnabled(hwnd) ? TRUE : FALSE) != (bEnable ? TRUE : FALSE))
        EnableWindow(hwnd, bEnable);
}

static void ApplyDirectionState(HWND hPage, const JOLTDIRECTION *pDir, long nAction, BOOL bTicked)
{
    JOLTCFGSTATE state;

    JoltControlState(nAction, bTicked, &state);
    SetItemEnabled(hPage, pDir->idProgram, state.bProgram);
    SetItemEnabled(hPage, pDir->idProgramBrowse, state.bProgram);
    SetItemEnabled(hPage, pDir->idCheck, state.bCheck);
    SetItemEnabled(hPage, pDir->idSound, state.bSound);
    SetItemEnabled(hPage, pDir->idSoundBrowse, state.bSound);
}

/* The record's last accepted text of an edit. */
static char *AcceptedText(JOLTPAGE *pPage, int idEdit)
{
    switch (idEdit) {
    case IDC_VSOUND_PATH:
        return pPage->szVerticalSoundPath;
    case IDC_VLAUNCH_PATH:
        return pPage->szVerticalLaunchPath;
    case IDC_HSOUND_PATH:
        return pPage->szHorizontalSoundPath;
    case IDC_HLAUNCH_PATH:
        return pPage->szHorizontalLaunchPath;
    }
    return NULL;
}

static BOOL GetHelpFilePath(HKEY hMachineKey, char szHelpFilePath[TILTKIT_TEXT_MAX])
{
    LONG lResult;

    szHelpFilePath[0] = '\0';
    lResult = RegReadText(hMachineKey, JOLT_VAL_HELPFILEPATH, szHelpFilePath,
                          TILTKIT_TEXT_MAX, REGREAD_REFUSE_FULL);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in GetHelpFilePath().\nReturn Value %d", (int)lResult);
        return FALSE;
    }
    return TRUE;
}

static BOOL GetJoltSetting(HKEY hUserKey, JOLTSETTING *pSetting, JOLTPAGE *pPage)
{
    return JoltReadValues(hUserKey, pSetting, pPage->szVerticalSoundPath,
                          pPage->szHorizontalSoundPath, pPage->szVerticalLaunchPath,
                          pPage->szHorizontalLaunchPath, NULL);
}

/* Both action combos get the items of the action list, in list order. */
static void FillActionCombos(HWND hPage)
{
    char szList[JOLTCFG_LIST_SCAN_MAX + 1];
    char szItem[TILTKIT_TEXT_MAX];
    JOLTCFGPIECE aPieces[JOLTCFG_MAX_ACTIONS];
    int nPieces;
    int i;

    ZeroMemory(szList, sizeof(szList));
    LoadStringA(g_hJoltcfgInstance, IDS_JOLTCFG_ACTIONS, szList, ARRAYSIZE(szList));
    nPieces = JoltSplitList(szList, JOLTCFG_LIST_SCAN_MAX, NameCheckLeadByteAcp, aPieces,
                            JOLTCFG_MAX_ACTIONS);
    if (nPieces > JOLTCFG_MAX_ACTIONS)
        nPieces = JOLTCFG_MAX_ACTIONS;
    for (i = 0; i < nPieces; i++) {
        size_t cb = aPieces[i].cb < sizeof(szItem) - 1 ? aPieces[i].cb : sizeof(szItem) - 1;

        CopyMemory(szItem, szList + aPieces[i].ibStart, cb);
        szItem[cb] = '\0';
        SendDlgItemMessageA(hPage, IDC_VACTION, CB_ADDSTRING, 0, (LPARAM)szItem);
        SendDlgItemMessageA(hPage, IDC_HACTION, CB_ADDSTRING, 0, (LPARAM)szItem);
    }
}

static void ShowStoredValues(HWND hPage, JOLTPAGE *pPage, const JOLTSETTING *pSetting)
{
    const DWORD adwAction[2] = { pSetting->dwVerticalAction, pSetting->dwHorizontalAction };
    const DWORD adwSound[2] = { pSetting->dwVerticalSound, pSetting->dwHorizontalSound };
    int i;

    FillActionCombos(hPage);
    /* A code without an item leaves its combo without selection. */
    SendDlgItemMessageA(hPage, IDC_VACTION, CB_SETCURSEL, (WPARAM)pSetting->dwVerticalAction, 0);
    SendDlgItemMessageA(hPage, IDC_HACTION, CB_SETCURSEL, (WPARAM)pSetting->dwHorizontalAction, 0);

    SetDlgItemTextA(hPage, IDC_VLAUNCH_PATH, pPage->szVerticalLaunchPath);
    SetDlgItemTextA(hPage, IDC_VSOUND_PATH, pPage->szVerticalSoundPath);
    SetDlgItemTextA(hPage, IDC_HLAUNCH_PATH, pPage->szHorizontalLaunchPath);
    SetDlgItemTextA(hPage, IDC_HSOUND_PATH, pPage->szHorizontalSoundPath);

    for (i = 0; i < 2; i++) {
        BOOL bTicked = JoltSoundWanted(adwSound[i]) ? TRUE : FALSE;

        if (bTicked)
            CheckDlgButton(hPage, g_aDirections[i].idCheck, BST_CHECKED);
        /* A code beyond the list counts as neither 0 nor 3. */
        ApplyDirectionState(hPage, &g_aDirections[i], (long)adwAction[i], bTicked);
    }
}

/* Reads the stored values (after the defaults refresh) and shows them.
 * FALSE, after one error box, when they cannot be read. */
static BOOL InitPropsheet(HWND hPage, JOLTPAGE *pPage)
{
    HKEY hMachineKey = NULL;
    HKEY hUserKey = NULL;
    JOLTSETTING setting;
    DWORD dwDisposition = 0;
    LONG lResult;
    UINT idError = 0;
    int nRefresh;

    ZeroMemory(&setting, sizeof(setting));
    lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, 0, KEY_READ, &hMachineKey);
    if (lResult == ERROR_SUCCESS) {
        lResult = RegCreateKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, NULL,
                                  REG_OPTION_NON_VOLATILE, JOLT_USER_ACCESS, NULL,
                                  &hUserKey, &dwDisposition);
        if (lResult != ERROR_SUCCESS)
            hUserKey = NULL;
    } else {
        hMachineKey = NULL;
    }
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() | RegCreateKeyEx() Failed in InitPropsheet().\nReturn Value %d",
              (int)lResult);
        idError = IDS_JOLTCFG_REGOPEN;
        goto done;
    }

    nRefresh = CheckJoltVersion(hMachineKey, hUserKey);
    if (nRefresh == JOLT_REFRESH_BROKEN) {
        idError = IDS_JOLTCFG_BROKEN;
        goto done;
    }
    if (nRefresh == JOLT_REFRESH_COPY) {
        lResult = JoltCopyDefaults(hUserKey);
        if (lResult != ERROR_SUCCESS) {
            TRACE("SHCopyKey() Failed in InitPropsheet().\nReturn Value %d", (int)lResult);
            idError = IDS_JOLTCFG_REGCOPY;
            goto done;
        }
    }

    if (!GetHelpFilePath(hMachineKey, pPage->szHelpFilePath)) {
        idError = IDS_JOLTCFG_REGDATA;
        goto done;
    }
    RegCloseKey(hMachineKey);
    hMachineKey = NULL;

    if (!GetJoltSetting(hUserKey, &setting, pPage)) {
        TRACE("GetJoltSetting() Failed in InitPropsheet().\nReturn Value %d", 0);
        idError = IDS_JOLTCFG_REGDATA;
        goto done;
    }
    RegCloseKey(hUserKey);
    hUserKey = NULL;

    ShowStoredValues(hPage, pPage, &setting);
    pPage->hwndJoltrun = FindJoltrun();
    pPage->bLoaded = TRUE;

done:
    if (hUserKey != NULL)
        RegCloseKey(hUserKey);
    if (hMachineKey != NULL)
        RegCloseKey(hMachineKey);
    if (idError != 0) {
        ShowJoltError(hPage, idError);
        return FALSE;
    }
    return TRUE;
}

static BOOL OnInitPage(HWND hPage)
{
    static const int s_aidEdits[] = {
        IDC_VSOUND_PATH, IDC_VLAUNCH_PATH, IDC_HSOUND_PATH, IDC_HLAUNCH_PATH
    };
    HRESULT hr = CoInitialize(NULL);
    JOLTPAGE *pPage = (JOLTPAGE *)LocalAlloc(LPTR, sizeof(JOLTPAGE));
    size_t i;

    if (pPage != NULL) {
        pPage->bComInitialized = SUCCEEDED(hr);
        pPage->hwndJoltrun = NULL;
        for (i = 0; i < ARRAYSIZE(s_aidEdits); i++)
            SendDlgItemMessageA(hPage, s_aidEdits[i], EM_LIMITTEXT, TILTKIT_TEXT_MAX - 1, 0);
        TurnOnPathCompletion(hPage, s_aidEdits, ARRAYSIZE(s_aidEdits));
        InitPropsheet(hPage, pPage);
    } else if (SUCCEEDED(hr)) {
        /* Without a record nothing remembers the initialisation. */
        CoUninitialize();
    }
    SetWindowLongPtrA(hPage, GWLP_USERDATA, (LONG_PTR)pPage);
    return TRUE;
}

/* The refused-character check of an edit's new text. */
static void CheckFileNameChars(HWND hPage, JOLTPAGE *pPage, int idEdit)
{
    if (CheckFieldChars(GetDlgItem(hPage, idEdit), &pPage->check, AcceptedText(pPage, idEdit),
                        NAMECHECK_PATH_CHARS))
        ShowJoltError(hPage, IDS_JOLTCFG_BADCHARS, NAMECHECK_PATH_SHOWN);
}

/* The open-file dialog for a program (from the Start-menu programs folder)
 * or a sound (from the Windows media folder); the chosen file goes into
 * the edit. */
static void GetOpenJoltFileName(HWND hPage, UINT idFilter, int idEdit, int nKind)
{
    char szFolder[MAX_PATH];
    char szMedia[TILTKIT_TEXT_MAX];
    char szInitialDir[TILTKIT_TEXT_MAX];
    char szFile[TILTKIT_TEXT_MAX];
    OPENFILEASK ask;

    szFolder[0] = szInitialDir[0] = '\0';
    if (nKind == JOLTCFG_KIND_PROGRAM) {
        if (SHGetSpecialFolderPathA(hPage, szFolder, CSIDL_PROGRAMS, FALSE))
            lstrcpynA(szInitialDir, szFolder, ARRAYSIZE(szInitialDir));
    } else if (SHGetSpecialFolderPathA(hPage, szFolder, CSIDL_WINDOWS, FALSE)) {
        int cch = lstrlenA(szFolder);

        if (cch > 0 && szFolder[cch - 1] == '\\' && CharPrevA(szFolder, szFolder + cch) == szFolder + cch - 1)
            szFolder[cch - 1] = '\0';
        szMedia[0] = '\0';
        LoadStringA(g_hJoltcfgInstance, IDS_JOLTCFG_MEDIAFOLDER, szMedia, ARRAYSIZE(szMedia));
        if (wnsprintfA(szInitialDir, ARRAYSIZE(szInitialDir), "%s\\%s", szFolder, szMedia) > 0)
            szInitialDir[ARRAYSIZE(szInitialDir) - 1] = '\0';
        else
            szInitialDir[0] = '\0';
    }

    ZeroMemory(&ask, sizeof(ask));
    ask.hInstance = g_hJoltcfgInstance;
    ask.idFilter = idFilter;
    ask.cchFilterLimit = JOLTCFG_FILTER_CHARS + 1;
    ask.idTitle = IDS_JOLTCFG_TITLE;
    ask.cchTitleLimit = TILTKIT_TEXT_MAX;
    ask.pszInitialDir = szInitialDir;
    ask.pszDefExt = nKind == JOLTCFG_KIND_PROGRAM ? "EXE" : "WAV";
    if (AskOpenFileName(hPage, &ask, szFile))
        SetDlgItemTextA(hPage, idEdit, szFile);
}

static void OnActionChange(HWND hPage, const JOLTDIRECTION *pDir)
{
    LRESULT lSel = SendDlgItemMessageA(hPage, pDir->idAction, CB_GETCURSEL, 0, 0);

    if (lSel < 0 || lSel > JOLT_ACTION_LAUNCH)
        return;
    ApplyDirectionState(hPage, pDir, (long)lSel,
                        IsDlgButtonChecked(hPage, pDir->idCheck) == BST_CHECKED);
}

static void OnSoundClick(HWND hPage, const JOLTDIRECTION *pDir)
{
    BOOL bTicked = IsDlgButtonChecked(hPage, pDir->idCheck) == BST_CHECKED;

    SetItemEnabled(hPage, pDir->idSound, bTicked);
    SetItemEnabled(hPage, pDir->idSoundBrowse, bTicked);
}

static BOOL OnCommandPage(HWND hPage, JOLTPAGE *pPage, int id, WORD wNotifyCode)
{
    if (pPage == NULL)
        return TRUE;
    switch (id) {
    case IDC_VSOUND_PATH:
    case IDC_VLAUNCH_PATH:
    case IDC_HSOUND_PATH:
    case IDC_HLAUNCH_PATH:
        if (wNotifyCode == EN_UPDATE)
            CheckFileNameChars(hPage, pPage, id);
        return TRUE;
    case IDC_VSOUND_CHECK:
    case IDC_HSOUND_CHECK:
        if (wNotifyCode == BN_CLICKED)
            OnSoundClick(hPage, &g_aDirections[id == IDC_VSOUND_CHECK ? 0 : 1]);
        return TRUE;
    case IDC_VACTION:
    case IDC_HACTION:
        if (wNotifyCode == CBN_SELCHANGE)
            OnActionChange(hPage, &g_aDirections[id == IDC_VACTION ? 0 : 1]);
        return TRUE;
    case IDC_VLAUNCH_BROWSE:
    case IDC_HLAUNCH_BROWSE:
        if (wNotifyCode == BN_CLICKED)
            GetOpenJoltFileName(hPage, IDS_JOLTCFG_PROGFILTER,
                                id == IDC_VLAUNCH_BROWSE ? IDC_VLAUNCH_PATH : IDC_HLAUNCH_PATH,
                                JOLTCFG_KIND_PROGRAM);
        return TRUE;
    case IDC_VSOUND_BROWSE:
    case IDC_HSOUND_BROWSE:
        if (wNotifyCode == BN_CLICKED)
            GetOpenJoltFileName(hPage, IDS_JOLTCFG_SOUNDFILTER,
                                id == IDC_VSOUND_BROWSE ? IDC_VSOUND_PATH : IDC_HSOUND_PATH,
                                JOLTCFG_KIND_SOUND);
        return TRUE;
    }
    return FALSE;
}

/* Checks the vertical direction, then the horizontal one; the first problem
 * is shown and makes the input invalid. */
static BOOL ValidateJoltInput(HWND hPage)
{
    int i;

    for (i = 0; i < 2; i++) {
        const JOLTDIRECTION *pDir = &g_aDirections[i];
        LRESULT lSel = SendDlgItemMessageA(hPage, pDir->idAction, CB_GETCURSEL, 0, 0);
        int bTicked = IsDlgButtonChecked(hPage, pDir->idCheck) == BST_CHECKED;
        int cchProgram = GetWindowTextLengthA(GetDlgItem(hPage, pDir->idProgram));
        int cchSound = GetWindowTextLengthA(GetDlgItem(hPage, pDir->idSound));

        switch (JoltCheckDirection((long)lSel, bTicked, cchProgram > 0 ? (size_t)cchProgram : 0,
                                   cchSound > 0 ? (size_t)cchSound : 0)) {
        case JOLTCFG_NO_PROGRAM:
            ShowJoltError(hPage, pDir->idNoProgram);
            return FALSE;
        case JOLTCFG_NO_SOUND:
            ShowJoltError(hPage, pDir->idNoSound);
            return FALSE;
        }
    }
    return TRUE;
}

/* Writes the page's values into the per-user key. FALSE, after box 4, when
 * the key cannot be opened; failed writes are not shown. */
static BOOL SaveJoltData(HWND hPage, JOLTPAGE *pPage)
{
    JOLTSETTING setting;
    HKEY hKey = NULL;
    LONG lResult;

    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, JOLT_USER_ACCESS, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in SaveJoltData().\nReturn Value %d", (int)lResult);
        ShowJoltError(hPage, IDS_JOLTCFG_REGOPEN);
        return FALSE;
    }
    RegCloseKey(hKey);

    setting.dwVerticalAction = (DWORD)SendDlgItemMessageA(hPage, IDC_VACTION, CB_GETCURSEL, 0, 0);
    setting.dwHorizontalAction = (DWORD)SendDlgItemMessageA(hPage, IDC_HACTION, CB_GETCURSEL, 0, 0);
    setting.dwVerticalSound = IsDlgButtonChecked(hPage, IDC_VSOUND_CHECK) == BST_CHECKED ? 1 : 0;
    setting.dwHorizontalSound = IsDlgButtonChecked(hPage, IDC_HSOUND_CHECK) == BST_CHECKED ? 1 : 0;
    SaveJoltData(&setting, pPage->szVerticalLaunchPath, pPage->szVerticalSoundPath,
                 pPage->szHorizontalLaunchPath, pPage->szHorizontalSoundPath);
    return TRUE;
}

static BOOL OnNotifyPage(HWND hPage, JOLTPAGE *pPage, const NMHDR *pnmh)
{
    switch (pnmh->code) {
    case PSN_KILLACTIVE:
        SetWindowLongPtrA(hPage, DWLP_MSGRESULT, ValidateJoltInput(hPage) ? FALSE : TRUE);
        return TRUE;
    case PSN_APPLY:
        SetWindowLongPtrA(hPage, DWLP_MSGRESULT, PSNRET_NOERROR);
        /* After a failed initialisation the controls do not hold the stored
         * values: nothing is written over them and Joltrun is not told. */
        if (pPage == NULL || !pPage->bLoaded)
            return TRUE;
        if (!ValidateJoltInput(hPage)) {
            SetWindowLongPtrA(hPage, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return TRUE;
        }
        if (SaveJoltData(hPage, pPage))
            TellJoltrun(pPage->hwndJoltrun);
        return TRUE;
    }
    return FALSE;
}

/* F1: the page's topic in the help file that "HelpFilePath" names. */
static BOOL OnHelpPage(HWND hPage, JOLTPAGE *pPage)
{
    if (pPage != NULL)
        ShowPageHelp(hPage, pPage->szHelpFilePath, HELP_TOPIC_JOLT);
    return TRUE;
}

static BOOL OnDestroyPage(HWND hPage, JOLTPAGE *pPage)
{
    ReleasePageHelp();
    SetWindowLongPtrA(hPage, GWLP_USERDATA, 0);
    if (pPage != NULL) {
        if (pPage->bComInitialized)
            CoUninitialize();
        LocalFree(pPage);
    }
    return TRUE;
}

static INT_PTR CALLBACK JoltPageProc(HWND hPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    JOLTPAGE *pPage = (JOLTPAGE *)GetWindowLongPtrA(hPage, GWLP_USERDATA);

    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPage(hPage);
    case WM_COMMAND:
        return OnCommandPage(hPage, pPage, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotifyPage(hPage, pPage, (const NMHDR *)lParam);
    case WM_HELP:
        return OnHelpPage(hPage, pPage);
    case WM_DESTROY:
        return OnDestroyPage(hPage, pPage);
    }
    return FALSE;
}

extern "C" int WINAPI GetPropertyPageNumber(void)
{
    return 1;
}

extern "C" HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex)
{
    return CreateTemplatePage(g_hJoltcfgInstance, IDD_JOLT_PAGE, JoltPageProc, 0);
}
