/*
 * The Tiltfeed application store: machine-wide values, item keys, shortcut
 * files, and the operations that create, copy, remove and repair items.
 */
#include "tiltfeed/feedstore.h"
#include "tiltfeed/feedcfg_res.h"
#include "tiltfeed/feedcmd.h"
#include "tiltfeed/feedname.h"
#include "tiltfeed/shortcut.h"
#include "common/errorbox.h"
#include "common/regread.h"
#include "common/regwrite.h"
#include "common/trace.h"
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

HINSTANCE g_hFeedcfgInstance;

void ShowFeedcfgError(HWND hwndOwner, UINT idText, ...)
{
    va_list args;

    va_start(args, idText);
    ShowErrorBoxV(g_hFeedcfgInstance, IDS_CAPTION, hwndOwner, idText,
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

/* One text of the machine-wide Tiltfeed key, which is created where rights
 * allow when it is missing. *pbKeyFailed tells a key that could not be
 * opened from a value that could not be read. */
static LONG ReadMachineText(LPCSTR pszName, LPSTR pszOut, BOOL *pbKeyFailed)
{
    HKEY hKey = NULL;
    LONG lResult;

    pszOut[0] = '\0';
    lResult = RegCreateKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, 0, NULL, 0, KEY_READ,
                              NULL, &hKey, NULL);
    *pbKeyFailed = lResult != ERROR_SUCCESS;
    if (lResult != ERROR_SUCCESS)
        return lResult;
    lResult = RegReadText(hKey, pszName, pszOut, TILTKIT_TEXT_MAX, REGREAD_REFUSE_FULL);
    RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        pszOut[0] = '\0';
    return lResult;
}

BOOL GetTiltfeedMainExePath(LPSTR pszPath)
{
    BOOL bKeyFailed;
    LONG lResult = ReadMachineText(FEEDITEM_VAL_FEEDRUNPATH, pszPath, &bKeyFailed);

    if (lResult == ERROR_SUCCESS)
        return TRUE;
    if (bKeyFailed)
        TRACE("RegCreateKeyEx() Failed in GetTiltfeedMainExePath().\nReturn Value %d", (int)lResult);
    else
        TRACE("RegQueryValueEx() Failed in GetTiltfeedMainExePath().\nReturn Value %d", (int)lResult);
    return FALSE;
}

BOOL GetHelpFilePath(LPSTR pszPath)
{
    BOOL bKeyFailed;
    LONG lResult = ReadMachineText(FEEDITEM_VAL_HELPFILEPATH, pszPath, &bKeyFailed);

    if (lResult == ERROR_SUCCESS)
        return TRUE;
    if (bKeyFailed)
        TRACE("RegCreateKeyEx() Failed in GetHelpFilePath().\nReturn Value %d", (int)lResult);
    else
        TRACE("RegQueryValueEx() Failed in GetHelpFilePath().\nReturn Value %d", (int)lResult);
    return FALSE;
}

BOOL GetStorePaths(LPSTR pszFeedrunPath, LPSTR pszHelpFilePath)
{
    pszHelpFilePath[0] = '\0';
    if (GetTiltfeedMainExePath(pszFeedrunPath) && pszFeedrunPath[0] != '\0' &&
        GetHelpFilePath(pszHelpFilePath))
        return TRUE;
    pszFeedrunPath[0] = '\0';
    pszHelpFilePath[0] = '\0';
    return FALSE;
}

BOOL GetProgramsFolder(LPSTR pszFolder, BOOL bCreate)
{
    char szFolder[MAX_PATH + 1];

    pszFolder[0] = '\0';
    szFolder[0] = '\0';
    if (!SHGetSpecialFolderPathA(NULL, szFolder, CSIDL_PROGRAMS, bCreate)) {
        TRACE("SHGetSpecialFolderPath() Failed.\n");
        return FALSE;
    }
    szFolder[MAX_PATH] = '\0';
    if (lstrlenA(szFolder) >= TILTKIT_TEXT_MAX)
        return FALSE;
    lstrcpynA(pszFolder, szFolder, TILTKIT_TEXT_MAX);
    return TRUE;
}

BOOL GetShortcutFolder(HWND hwnd, LPSTR pszFolder)
{
    char szPrograms[TILTKIT_TEXT_MAX];
    char szSub[TILTKIT_TEXT_MAX];

    pszFolder[0] = '\0';
    szSub[0] = '\0';
    if (!GetProgramsFolder(szPrograms, TRUE))
        return FALSE;
    LoadStringA(g_hFeedcfgInstance, IDS_SHORTCUT_FOLDER, szSub, ARRAYSIZE(szSub));
    return BuildItemKeyPath(szPrograms, szSub, pszFolder, TILTKIT_TEXT_MAX) ? TRUE : FALSE;
}

int GetNameLimit(HWND hwnd)
{
    char szFolder[TILTKIT_TEXT_MAX];
    int nLimit;

    if (!GetShortcutFolder(hwnd, szFolder))
        return 0;
    nLimit = TiltfeedNameLimit((size_t)lstrlenA(szFolder));
    return nLimit < 0 ? 0 : nLimit;
}

BOOL GetItemShortcutPath(HWND hwnd, LPCSTR pszName, LPSTR pszLnkFile)
{
    char szFolder[TILTKIT_TEXT_MAX];

    pszLnkFile[0] = '\0';
    if (!GetShortcutFolder(hwnd, szFolder))
        return FALSE;
    return BuildShortcutPath(szFolder, pszName, pszLnkFile, TILTKIT_TEXT_MAX) ? TRUE : FALSE;
}

BOOL GetItemKeyPath(LPCSTR pszName, LPSTR pszKeyPath)
{
    return BuildItemKeyPath(TILTKIT_REG_TILTFEED, pszName, pszKeyPath, TILTKIT_TEXT_MAX)
               ? TRUE : FALSE;
}

BOOL MakeSureLnkFileExistsIn(LPCSTR pszFolder, SHORTCUTREADER *pReader, LPCSTR pszName,
                             LPCSTR pszFeedrunPath, BOOL *pbBroken)
{
    char szLnkFile[TILTKIT_TEXT_MAX];
    char szKeyPath[TILTKIT_TEXT_MAX];
    char szTarget[TILTKIT_TEXT_MAX];
    char szArguments[TILTKIT_TEXT_MAX];
    TILTFEEDITEM item;
    HKEY hKey = NULL;
    LONG lResult;
    BOOL bRead;

    *pbBroken = FALSE;
    /* A name too long for its shortcut file or key path is an item whose
     * shortcut cannot be written; it is left alone. */
    if (!BuildShortcutPath(pszFolder, pszName, szLnkFile, sizeof(szLnkFile)) ||
        !GetItemKeyPath(pszName, szKeyPath))
        return FALSE;
    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in MakeSureLnkFileExists().\nReturn Value %d", (int)lResult);
        return FALSE;
    }
    ZeroMemory(&item, sizeof(item));
    lstrcpynA(item.szItemName, pszName, sizeof(item.szItemName));
    bRead = GetAppDataFromReg(hKey, &item);
    RegCloseKey(hKey);
    if (!bRead) {
        *pbBroken = TRUE;
        return FALSE;
    }
    ReadShortcut(pReader, szLnkFile, szTarget, szArguments);
    if (lstrcmpiA(szTarget, pszFeedrunPath) == 0 && lstrcmpiA(szArguments, pszName) == 0)
        return TRUE;
    TRACE("szLnkFileName = %s\n , pszMainExePath = %s\n", szLnkFile, pszFeedrunPath);
    return CreateShortCut(szLnkFile, pszFeedrunPath, &item);
}

BOOL MakeSureLnkFileExists(HWND hwnd, LPCSTR pszName, LPCSTR pszFeedrunPath, BOOL *pbBroken)
{
    char szFolder[TILTKIT_TEXT_MAX];

    *pbBroken = FALSE;
    if (!GetShortcutFolder(hwnd, szFolder))
        return FALSE;
    return MakeSureLnkFileExistsIn(szFolder, NULL, pszName, pszFeedrunPath, pbBroken);
}

/* The five values of an item key as stored, to be put back when a save
 * over an existing item fails. */
typedef struct SAVEDVALUE {
    BOOL bPresent;
    DWORD dwType;
    DWORD cb;
    BYTE ab[TILTKIT_TEXT_MAX + 4];
} SAVEDVALUE;

static const char *const g_apszItemValues[] = {
    FEEDITEM_VAL_FILENAME, FEEDITEM_VAL_PATH, FEEDITEM_VAL_TYPE,
    FEEDITEM_VAL_MOUSERATE, FEEDITEM_VAL_CURSORKEYRATE,
};
#define ITEM_VALUE_COUNT (sizeof(g_apszItemValues) / sizeof(g_apszItemValues[0]))

static void SaveItemValues(HKEY hKey, SAVEDVALUE *aSaved)
{
    UINT i;

    for (i = 0; i < ITEM_VALUE_COUNT; i++) {
        aSaved[i].cb = sizeof(aSaved[i].ab);
        aSaved[i].bPresent = RegQueryValueExA(hKey, g_apszItemValues[i], NULL, &aSaved[i].dwType,
                                              aSaved[i].ab, &aSaved[i].cb) == ERROR_SUCCESS;
    }
}

static void RestoreItemValues(HKEY hKey, const SAVEDVALUE *aSaved)
{
    UINT i;

    for (i = 0; i < ITEM_VALUE_COUNT; i++) {
        if (aSaved[i].bPresent)
            RegSetValueExA(hKey, g_apszItemValues[i], 0, aSaved[i].dwType, aSaved[i].ab, aSaved[i].cb);
        else
            RegDeleteValueA(hKey, g_apszItemValues[i]);
    }
}

/*
 * The writing behind CreateTiltfeedItem and RenameTiltfeedItem. A key that
 * is new starts, with pszCopyFrom, as a copy of that item's key; then the
 * five values (all of them, even after a failed one) and the shortcut. On
 * failure a new key is removed, an existing one gets its values back.
 */
static BOOL WriteTiltfeedItem(HWND hwnd, const TILTFEEDITEM *pItem, LPCSTR pszFeedrunPath,
                              LPCSTR pszCopyFrom)
{
    char szKeyPath[TILTKIT_TEXT_MAX];
    char szFromKey[TILTKIT_TEXT_MAX];
    char szLnkFile[TILTKIT_TEXT_MAX];
    SAVEDVALUE aSaved[ITEM_VALUE_COUNT];
    HKEY hKey = NULL;
    DWORD dwDisposition = 0;
    LONG lResult = ERROR_FILENAME_EXCED_RANGE;
    LONG lWrite;
    BOOL bExisted = FALSE;

    /* Without Feedrun's path the shortcut would start nothing: no key is
     * written for it either. */
    if (pszFeedrunPath == NULL || pszFeedrunPath[0] == '\0') {
        TRACE("No Feedrun path in CreateTiltfeedItem().\n");
        ShowFeedcfgError(hwnd, IDS_ERR_SHORTCUT);
        return FALSE;
    }
    if (GetItemKeyPath(pItem->szItemName, szKeyPath) &&
        (pszCopyFrom == NULL || GetItemKeyPath(pszCopyFrom, szFromKey)))
        lResult = RegCreateKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, NULL, 0, KEY_READ | KEY_WRITE,
                                  NULL, &hKey, &dwDisposition);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegCreateKeyEx() Failed in CreateTiltfeedItem().\nReturn Value %d", (int)lResult);
    } else {
        bExisted = dwDisposition == REG_OPENED_EXISTING_KEY;
        if (bExisted)
            SaveItemValues(hKey, aSaved);
        else if (pszCopyFrom != NULL)
            lResult = (LONG)SHCopyKeyA(HKEY_CURRENT_USER, szFromKey, hKey, 0);
        lWrite = RegWriteText(hKey, FEEDITEM_VAL_FILENAME, pItem->szFileName);
        if (lResult == ERROR_SUCCESS)
            lResult = lWrite;
        lWrite = RegWriteText(hKey, FEEDITEM_VAL_PATH, pItem->szPath);
        if (lResult == ERROR_SUCCESS)
            lResult = lWrite;
        lWrite = RegWriteDword(hKey, FEEDITEM_VAL_TYPE, pItem->dwType);
        if (lResult == ERROR_SUCCESS)
            lResult = lWrite;
        lWrite = RegWriteDword(hKey, FEEDITEM_VAL_MOUSERATE, pItem->dwMouseRate);
        if (lResult == ERROR_SUCCESS)
            lResult = lWrite;
        lWrite = RegWriteDword(hKey, FEEDITEM_VAL_CURSORKEYRATE, pItem->dwCursorKeyRate);
        if (lResult == ERROR_SUCCESS)
            lResult = lWrite;
        if (lResult != ERROR_SUCCESS && bExisted)
            RestoreItemValues(hKey, aSaved);
        RegCloseKey(hKey);
        hKey = NULL;
        /* A half-written new key is no item. */
        if (lResult != ERROR_SUCCESS && !bExisted)
            SHDeleteKeyA(HKEY_CURRENT_USER, szKeyPath);
    }
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegCreateKeyEx() || RegSetValueEx() Failed in CreateTiltfeedItem().\nReturn Value %d",
              (int)lResult);
        ShowFeedcfgError(hwnd, IDS_ERR_REGSAVE);
        return FALSE;
    }

    if (!GetItemShortcutPath(hwnd, pItem->szItemName, szLnkFile) ||
        !CreateShortCut(szLnkFile, pszFeedrunPath, pItem)) {
        ShowFeedcfgError(hwnd, IDS_ERR_SHORTCUT);
        if (!bExisted) {
            SHDeleteKeyA(HKEY_CURRENT_USER, szKeyPath);
        } else if (RegOpenKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, KEY_WRITE, &hKey) == ERROR_SUCCESS) {
            /* Saved over itself: the item keeps what it had. */
            RestoreItemValues(hKey, aSaved);
            RegCloseKey(hKey);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CreateTiltfeedItem(HWND hwnd, const TILTFEEDITEM *pItem, LPCSTR pszFeedrunPath)
{
    return WriteTiltfeedItem(hwnd, pItem, pszFeedrunPath, NULL);
}

BOOL RenameTiltfeedItem(HWND hwnd, LPCSTR pszOldName, const TILTFEEDITEM *pItem,
                        LPCSTR pszFeedrunPath)
{
    if (!WriteTiltfeedItem(hwnd, pItem, pszFeedrunPath, pszOldName))
        return FALSE;
    return RemoveTiltfeedItem(hwnd, pszOldName);
}

/* Creates the key of a copy name; TRUE only when it did not exist before. */
static BOOL CreateNewItemKey(LPCSTR pszName, HKEY *phKey)
{
    char szKeyPath[TILTKIT_TEXT_MAX];
    DWORD dwDisposition = 0;
    HKEY hKey = NULL;

    *phKey = NULL;
    if (!GetItemKeyPath(pszName, szKeyPath))
        return FALSE;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, szKeyPath, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL,
                        &hKey, &dwDisposition) != ERROR_SUCCESS)
        return FALSE;
    if (dwDisposition != REG_CREATED_NEW_KEY) {
        RegCloseKey(hKey);
        return FALSE;
    }
    *phKey = hKey;
    return TRUE;
}

/* The shell's copy of one file onto another name, silently. */
static int CopyShortcutFile(LPCSTR pszFrom, LPCSTR pszTo)
{
    char szFrom[TILTKIT_TEXT_MAX + 1];
    char szTo[TILTKIT_TEXT_MAX + 1];
    SHFILEOPSTRUCTA op;
    int nResult;

    /* Both lists end with a second zero. */
    ZeroMemory(szFrom, sizeof(szFrom));
    ZeroMemory(szTo, sizeof(szTo));
    lstrcpynA(szFrom, pszFrom, TILTKIT_TEXT_MAX);
    lstrcpynA(szTo, pszTo, TILTKIT_TEXT_MAX);
    ZeroMemory(&op, sizeof(op));
    op.wFunc = FO_COPY;
    op.pFrom = szFrom;
    op.pTo = szTo;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    nResult = SHFileOperationA(&op);
    if (nResult == 0 && op.fAnyOperationsAborted)
        nResult = ERROR_CANCELLED;
    return nResult;
}

BOOL CopyTiltfeedItem(HWND hwnd, LPCSTR pszSource)
{
    char szPlain[TILTKIT_TEXT_MAX];
    char szNumbered[TILTKIT_TEXT_MAX];
    char szCopy[TILTKIT_TEXT_MAX];
    char szSourceKey[TILTKIT_TEXT_MAX];
    char szFromLnk[TILTKIT_TEXT_MAX];
    char szToLnk[TILTKIT_TEXT_MAX];
    int nLimit = GetNameLimit(hwnd);
    HKEY hKey = NULL;
    BOOL bCreated;
    DWORD dwResult;
    int nCopy;

    szPlain[0] = szNumbered[0] = '\0';
    LoadStringA(g_hFeedcfgInstance, IDS_COPY_NAME, szPlain, ARRAYSIZE(szPlain));
    LoadStringA(g_hFeedcfgInstance, IDS_COPY_NUMBERED, szNumbered, ARRAYSIZE(szNumbered));
    if (BuildCopyName(szPlain, szNumbered, 0, pszSource, nLimit, szCopy, sizeof(szCopy)) < 0) {
        ShowFeedcfgError(hwnd, IDS_ERR_COPYLONG);
        return FALSE;
    }
    if (!GetItemKeyPath(pszSource, szSourceKey)) {
        ShowFeedcfgError(hwnd, IDS_ERR_COPY);
        return FALSE;
    }
    bCreated = CreateNewItemKey(szCopy, &hKey);
    if (bCreated) {
        dwResult = SHCopyKeyA(HKEY_CURRENT_USER, szSourceKey, hKey, 0);
        if (dwResult != ERROR_SUCCESS) {
            TRACE("SHCopyKey() Failed in CopyTiltfeedItem().\nReturn Value %d", (int)dwResult);
            ShowFeedcfgError(hwnd, IDS_ERR_COPY);
            RegCloseKey(hKey);
            return FALSE;
        }
    } else {
        for (nCopy = TILTFEED_COPY_FIRST; nCopy <= TILTFEED_COPY_LAST && !bCreated; nCopy++) {
            if (BuildCopyName(szPlain, szNumbered, nCopy, pszSource, nLimit, szCopy,
                              sizeof(szCopy)) < 0) {
                ShowFeedcfgError(hwnd, IDS_ERR_COPYLONG);
                return FALSE;
            }
            bCreated = CreateNewItemKey(szCopy, &hKey);
        }
        if (!bCreated) {
            ShowFeedcfgError(hwnd, IDS_ERR_COPY);
            return FALSE;
        }
    }

    dwResult = SHCopyKeyA(HKEY_CURRENT_USER, szSourceKey, hKey, 0);
    RegCloseKey(hKey);
    if (dwResult != ERROR_SUCCESS) {
        ShowFeedcfgError(hwnd, IDS_ERR_COPY);
        TRACE("SHCopyKey() Failed in CopyTiltfeedItem().\nReturn Value %d", (int)dwResult);
        return FALSE;
    }

    if (!GetItemShortcutPath(hwnd, pszSource, szFromLnk) || !GetItemShortcutPath(hwnd, szCopy, szToLnk))
        dwResult = ERROR_FILENAME_EXCED_RANGE;
    else
        dwResult = (DWORD)CopyShortcutFile(szFromLnk, szToLnk);
    if (dwResult != 0) {
        ShowFeedcfgError(hwnd, IDS_ERR_COPY);
        TRACE("CopyFile() Failed in CopyTiltfeedItem().\nGetLastError Report %d", (int)dwResult);
        return FALSE;
    }
    return TRUE;
}

BOOL RemoveTiltfeedItem(HWND hwnd, LPCSTR pszName)
{
    char szLnkFile[TILTKIT_TEXT_MAX];
    char szKeyPath[TILTKIT_TEXT_MAX];

    if (GetItemShortcutPath(hwnd, pszName, szLnkFile))
        DeleteFileA(szLnkFile);
    if (GetItemKeyPath(pszName, szKeyPath))
        SHDeleteKeyA(HKEY_CURRENT_USER, szKeyPath);
    return TRUE;
}

static int AskFeedcfg(HWND hwndOwner, UINT idText, ...)
{
    va_list args;
    int nResult;

    va_start(args, idText);
    nResult = ShowErrorBoxV(g_hFeedcfgInstance, IDS_CAPTION, hwndOwner, idText,
                            MB_YESNO | MB_ICONWARNING | MB_SETFOREGROUND, args);
    va_end(args);
    return nResult;
}

BOOL DeleteTiltfeedItem(HWND hwnd, LPCSTR pszName)
{
    if (AskFeedcfg(hwnd, IDS_ASK_DELETE, pszName) != IDYES) {
        TRACE("Delete Canceled. DeleteTiltfeedItem()\n");
        return FALSE;
    }
    return RemoveTiltfeedItem(hwnd, pszName);
}
